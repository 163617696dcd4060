// Font A of the main window: the look of the description, the status line and the links.
#pragma once

#include <windows.h>

// Created on first use and kept for the life of the process (controls draw with it until the
// process exits, so nothing releases it earlier).
HFONT FontA();

#pragma once

#include "translate_pass/window_ports.h"

// Win+D twice to the shell's desktop window, the window looked up anew before each event.
void RefreshDesktop(DesktopKeys& keys);

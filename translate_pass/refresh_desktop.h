#pragma once

#include "translate_pass/window_ports.h"

// Win+D twice to the shell's desktop window, the window looked up anew before each event.
// Without a shell desktop window nothing is sent: the chord would reach whatever program is
// active and type into it. A key that went down always goes up again, found window or not
// (a key-up types nothing), so no key is left held.
void RefreshDesktop(DesktopKeys& keys);

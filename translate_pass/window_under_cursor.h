#pragma once

#include "translate_pass/window_ports.h"

// The window under the cursor: the hit window, or a smaller visible sibling after it in the
// Z-order that also contains the point (of equal areas the first one reached stays).
WindowHandle WindowUnderCursor(WindowTree& tree);

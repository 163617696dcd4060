// The main window's own keys: Esc closes it, Tab and Shift+Tab walk the fixed focus order.
#pragma once

#include <vector>

enum class WindowKeyCommand { None, Close, NextControl, PreviousControl };

struct ModifierKeys {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
};

// What a key-down addressed to the window or one of its controls means to the window.
WindowKeyCommand ClassifyWindowKey(int virtualKey, ModifierKeys held);

// The position in `usable` (one flag per control of the focus order) that the focus moves to
// from `current` (-1 when the focus is on none of them), wrapping round at either end;
// -1 when no control is usable.
int NextFocusPosition(const std::vector<bool>& usable, int current, bool backward);

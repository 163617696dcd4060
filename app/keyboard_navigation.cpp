#include "app/keyboard_navigation.h"

namespace {
constexpr int kVirtualKeyTab = 0x09;
constexpr int kVirtualKeyEscape = 0x1B;
}  // namespace

WindowKeyCommand ClassifyWindowKey(int virtualKey, ModifierKeys held) {
  if (virtualKey == kVirtualKeyEscape && !held.ctrl && !held.shift && !held.alt) {
    return WindowKeyCommand::Close;
  }
  // Ctrl+Tab and Alt+Tab belong to others (the system, tabbed controls).
  if (virtualKey == kVirtualKeyTab && !held.ctrl && !held.alt) {
    return held.shift ? WindowKeyCommand::PreviousControl : WindowKeyCommand::NextControl;
  }
  return WindowKeyCommand::None;
}

int NextFocusPosition(const std::vector<bool>& usable, int current, bool backward) {
  const int count = static_cast<int>(usable.size());
  if (count == 0) return -1;
  int position = current;
  if (position < 0 || position >= count) position = backward ? 0 : count - 1;
  for (int step = 0; step < count; ++step) {
    position = backward ? (position + count - 1) % count : (position + 1) % count;
    if (usable[position]) return position;
  }
  return -1;
}

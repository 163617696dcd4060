#include "translate_pass/refresh_desktop.h"

namespace {
constexpr std::int32_t kLeftWindowsKey = 91;  // VK_LWIN
constexpr std::int32_t kLetterD = 68;
}  // namespace

void RefreshDesktop(DesktopKeys& keys) {
  for (int round = 0; round < 2; ++round) {
    const WindowHandle first = keys.FindShellDesktopWindow();
    if (first == 0) return;
    keys.SendKeyDown(first, kLeftWindowsKey);
    const WindowHandle second = keys.FindShellDesktopWindow();
    if (second != 0) keys.SendKeyDown(second, kLetterD);
    keys.SendKeyUp(keys.FindShellDesktopWindow(), kLeftWindowsKey);
    if (second != 0) keys.SendKeyUp(keys.FindShellDesktopWindow(), kLetterD);
  }
}

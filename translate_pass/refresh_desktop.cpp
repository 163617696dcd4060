#include "translate_pass/refresh_desktop.h"

namespace {
constexpr std::int32_t kLeftWindowsKey = 91;  // VK_LWIN
constexpr std::int32_t kLetterD = 68;
}  // namespace

void RefreshDesktop(DesktopKeys& keys) {
  for (int round = 0; round < 2; ++round) {
    keys.SendKeyDown(keys.FindShellDesktopWindow(), kLeftWindowsKey);
    keys.SendKeyDown(keys.FindShellDesktopWindow(), kLetterD);
    keys.SendKeyUp(keys.FindShellDesktopWindow(), kLeftWindowsKey);
    keys.SendKeyUp(keys.FindShellDesktopWindow(), kLetterD);
  }
}

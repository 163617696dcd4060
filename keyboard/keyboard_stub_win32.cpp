// Placeholder so the program links before the keyboard subsystem lands; replaced by it.
#include "keyboard/keyboard_win32.h"

namespace {
MessagePreTranslator g_preTranslator = nullptr;
}

void CreateHotkeyRegistry() {}
void ReleaseHotkeyRegistry() {}
std::int32_t RegisterPolledHotkey(HotkeyCallback, std::int32_t, std::int32_t, std::int32_t,
                                  std::int32_t, std::int32_t) {
  return 0;
}
void SendKeyDown(HWND, std::int32_t, std::int32_t) {}
void SendKeyUp(HWND, std::int32_t, std::int32_t) {}
void PumpingDelay(std::int32_t, std::int32_t) {}
void PumpPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    GetMessageA(&msg, nullptr, 0, 0);
    if (PreTranslateApplicationMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
void SetMessagePreTranslator(MessagePreTranslator preTranslator) { g_preTranslator = preTranslator; }
bool PreTranslateApplicationMessage(MSG* message) {
  return g_preTranslator != nullptr && g_preTranslator(message);
}

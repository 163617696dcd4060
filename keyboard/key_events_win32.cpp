// Synthetic key events through SendInput, optionally aimed at another thread's window.
#include <windows.h>

#include "keyboard/key_input_record.h"
#include "keyboard/keyboard_win32.h"
#include "platform/win32_guards.h"

namespace {

constexpr std::int32_t kPacingMs = 50;
constexpr UINT kTargetAnswerWaitMs = 2000;

// Each field is set from the portable record; the layout is the platform's own (28 bytes in a
// 32-bit process, 40 in a 64-bit one).
INPUT ToInput(const KeyInputFields& fields) {
  INPUT input{};
  input.type = fields.type;
  input.ki.wVk = fields.virtualKey;
  input.ki.wScan = fields.scanCode;
  input.ki.dwFlags = fields.flags;
  input.ki.time = fields.time;
  input.ki.dwExtraInfo = fields.extraInfo;
  return input;
}

#if defined(_WIN64)
static_assert(sizeof(INPUT) == 40, "64-bit INPUT layout");
#else
static_assert(sizeof(INPUT) == 28, "32-bit INPUT layout");
#endif

void SendKeyEvent(HWND targetWindow, std::int32_t virtualKey, std::int32_t extended,
                  KeyTransition transition) {
  if (targetWindow != nullptr) {
    if (!IsWindow(targetWindow)) return;
    // AttachThreadInput and SetFocus wait on the target's thread. One that does not answer a
    // bounded probe gets no key-down (it would reach whatever window is active instead); a
    // key-up still goes out, without the focus step, so no key stays held.
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutW(targetWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTargetAnswerWaitMs,
                            &ignored) == 0) {
      if (transition == KeyTransition::kDown) return;
      targetWindow = nullptr;
    }
  }
  if (targetWindow != nullptr) {
    DWORD processId = 0;
    const DWORD targetThread = GetWindowThreadProcessId(targetWindow, &processId);
    {
      // SetFocus only works on a window of a thread whose input is joined to ours; the
      // attachment lasts just for that call.
      const AttachedThreadInput joined(targetThread);
      SetFocus(targetWindow);
    }
    PumpingDelay(kPacingMs, 0);
  }
  const UINT scanCode = MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
  INPUT input = ToInput(MakeKeyInputFields(virtualKey, scanCode, extended, transition,
                                           GetTickCount()));
  SendInput(1, &input, sizeof(INPUT));
  PumpingDelay(kPacingMs, 0);
}

}  // namespace

void SendKeyDown(HWND targetWindow, std::int32_t virtualKey, std::int32_t extended) {
  SendKeyEvent(targetWindow, virtualKey, extended, KeyTransition::kDown);
}

void SendKeyUp(HWND targetWindow, std::int32_t virtualKey, std::int32_t extended) {
  SendKeyEvent(targetWindow, virtualKey, extended, KeyTransition::kUp);
}

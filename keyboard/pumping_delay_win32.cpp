// The pumping delay and the message pump it shares with the translation pass.
#include <windows.h>

#include <atomic>

#include "keyboard/delay_due_time.h"
#include "keyboard/keyboard_win32.h"
#include "platform/win32_guards.h"

namespace {

// QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT |
// QS_SENDMESSAGE | QS_HOTKEY.
constexpr DWORD kDelayWakeMask = 0xFF;

// Set by the GUI thread, read by every thread that pumps (the translation pass's workers too).
std::atomic<MessagePreTranslator> g_preTranslator{nullptr};

}  // namespace

void PumpingDelay(std::int32_t amount, std::int32_t unit) {
  const std::optional<std::int64_t> dueTime = DelayDueTime(amount, unit);
  if (!dueTime) return;

  UniqueHandle timer(CreateWaitableTimerA(nullptr, FALSE, nullptr));
  if (!timer) return;
  LARGE_INTEGER due;
  due.QuadPart = *dueTime;
  if (!SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE)) return;

  // The wait below wakes only for messages that arrive after the queue was last looked at.
  // Dispatch what already waits first, or a message noticed earlier (and with it the hotkey
  // poll's timer, which the system does not post again while one is pending) would sit in
  // the queue for the whole delay.
  PumpPendingMessages();
  for (;;) {
    const HANDLE handles[] = {timer.get()};
    const DWORD result = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, kDelayWakeMask);
    switch (ClassifyDelayWait(result)) {
      case DelayWaitStep::kDone:
      case DelayWaitStep::kGiveUp:
        return;
      case DelayWaitStep::kPumpAndWait:
        PumpPendingMessages();
        break;
    }
  }
}

void PumpPendingMessages() {
  MSG message;
  // WM_QUIT is left where it is, for the main message loop to end on. Wide, like the main
  // loop: a character typed meanwhile reaches the tool's wide windows as it is, not through
  // the system's ANSI code page.
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    // Taken without blocking: a message seen at the head can vanish before it is removed
    // (a paint made valid meanwhile), and a blocking get would then hang the caller.
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslateApplicationMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void SetMessagePreTranslator(MessagePreTranslator preTranslator) {
  g_preTranslator = preTranslator;
}

bool PreTranslateApplicationMessage(MSG* message) {
  const MessagePreTranslator preTranslator = g_preTranslator.load();
  return preTranslator != nullptr && preTranslator(message);
}

// The registry's Win32 adapter: the window-less poll timer, the GetAsyncKeyState snapshot of
// the keys the records need, and the two ways of firing (a new thread, or a synchronous
// window-procedure call).
#include <windows.h>

#include "keyboard/hotkey_registry.h"
#include "keyboard/hotkey_win32.h"
#include "keyboard/keyboard_win32.h"
#include "platform/win32_guards.h"

namespace {

// The system ignores the event id of a window-less timer and makes up its own.
constexpr UINT_PTR kPollTimerEventId = 16661;

// Lives for the whole process: a tick after the exit clean-up finds it released, not gone.
HotkeyRegistry g_registry;

class Win32HotkeyFirePort final : public HotkeyFirePort {
 public:
  void Fire(HotkeyRoutine callback, std::int32_t id, std::int32_t callMode) override {
    if (callMode != 0) {
      CallWindowProcA(reinterpret_cast<WNDPROC>(callback),
                      reinterpret_cast<HWND>(static_cast<INT_PTR>(id)), 0, 0, 0);
      return;
    }
    DWORD threadId = 0;
    // Neither waited for nor tracked: the handle is closed at once; a failed start loses this
    // firing only.
    const UniqueHandle thread(CreateThread(nullptr, 0,
                                           reinterpret_cast<LPTHREAD_START_ROUTINE>(callback),
                                           reinterpret_cast<LPVOID>(static_cast<INT_PTR>(id)), 0,
                                           &threadId));
  }
};

}  // namespace

void TakeKeySnapshot(const std::vector<std::uint8_t>& keys, KeySnapshot& snapshot) {
  snapshot.fill(0);
  for (std::uint8_t key : keys) {
    if (key != 0) snapshot[key - 1] = GetAsyncKeyState(key);
  }
}

void PollHotkeys() {
  if (g_registry.entries().empty()) return;  // nothing registered yet, or released at exit
  // Only the keys the records can look at: each query is a call into the window system (under
  // Wine a round trip to its server), and a tick runs a hundred times a second while idle.
  KeySnapshot snapshot;
  TakeKeySnapshot(g_registry.neededKeys(), snapshot);
  Win32HotkeyFirePort firePort;
  g_registry.Poll(snapshot, firePort);
}

void CALLBACK HotkeyTimerProc(HWND, UINT, UINT_PTR, DWORD) noexcept { PollHotkeys(); }

void CreateHotkeyRegistry() { g_registry = HotkeyRegistry(); }

void ReleaseHotkeyRegistry() { g_registry.Release(); }

std::int32_t RegisterPolledHotkey(HotkeyCallback callback, std::int32_t keyCode,
                                  std::int32_t modifierMask, std::int32_t secondKey,
                                  std::int32_t intervalMs, std::int32_t callMode) {
  const HotkeyRegistration registration =
      g_registry.Register(callback, keyCode, modifierMask, secondKey, intervalMs, callMode);
  if (registration.pollTimerIntervalMs > 0) {
    SetTimer(nullptr, kPollTimerEventId, static_cast<UINT>(registration.pollTimerIntervalMs),
             HotkeyTimerProc);
  }
  return registration.id;
}

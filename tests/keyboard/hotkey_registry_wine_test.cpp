// The registry's adapter on the real platform: the poll timer it starts and a synchronous
// firing on the polling thread. Presses from outside the process are the driver test's job.
#include <gtest/gtest.h>
#include <windows.h>

#include "keyboard/hotkey_win32.h"
#include "keyboard/keyboard_win32.h"
#include "wine_clock.h"

namespace {

bool PollTimerMessageQueued() {
  MSG message;
  // Wine puts a handle of its own for the timer procedure into lParam, so only the missing
  // window tells the poll timer apart.
  return PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE) &&
         message.hwnd == nullptr;
}

HWND g_firedWindow = nullptr;
UINT g_firedMessage = 1;
DWORD g_firedThread = 0;
int g_fired = 0;

LRESULT CALLBACK RecordSynchronousFiring(HWND window, UINT message, WPARAM, LPARAM) noexcept {
  g_firedWindow = window;
  g_firedMessage = message;
  g_firedThread = GetCurrentThreadId();
  ++g_fired;
  return 0;
}

DWORD WINAPI Unused(LPVOID) noexcept { return 0; }

// Both cases live in one test: the poll timer is started by the first registration of the
// process's registry and is never stopped.
TEST(HotkeyRegistryAdapter, StartsThePollTimerOnceAndFiresSynchronouslyWithTheIdAsWindow) {
  DrainQueue();
  CreateHotkeyRegistry();
  EXPECT_EQ(RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&Unused), 256), 0);
  Sleep(60);
  EXPECT_FALSE(PollTimerMessageQueued()) << "a refused registration started the timer";

  const std::int32_t id = RegisterPolledHotkey(
      reinterpret_cast<HotkeyCallback>(&RecordSynchronousFiring), VK_F24, 0, 0, 0, 1);
  EXPECT_EQ(id, 1000001);
  Sleep(60);
  EXPECT_TRUE(PollTimerMessageQueued());

  // Press the key through the system and let the timer's ticks run here.
  SendKeyDown(nullptr, VK_F24);
  PumpingDelay(100);
  SendKeyUp(nullptr, VK_F24);
  PumpingDelay(60);
  EXPECT_EQ(g_fired, 1);
  EXPECT_EQ(g_firedWindow, reinterpret_cast<HWND>(static_cast<INT_PTR>(id)));
  EXPECT_EQ(g_firedMessage, 0u);
  EXPECT_EQ(g_firedThread, GetCurrentThreadId());

  // After the exit clean-up the timer keeps ticking, harmlessly.
  ReleaseHotkeyRegistry();
  SendKeyDown(nullptr, VK_F24);
  PumpingDelay(100);
  SendKeyUp(nullptr, VK_F24);
  PumpingDelay(30);
  EXPECT_EQ(g_fired, 1);
  EXPECT_EQ(RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&Unused), VK_F23), 0);
  DrainQueue();
}

TEST(HotkeyRegistryAdapter, SnapshotHoldsTheListedKeysAndZeroElsewhere) {
  SendKeyDown(nullptr, VK_F23);
  SendKeyDown(nullptr, VK_F24);
  KeySnapshot onlyF24;
  onlyF24.fill(7);
  TakeKeySnapshot({VK_F24}, onlyF24);
  KeySnapshot both;
  TakeKeySnapshot({VK_F23, VK_F24}, both);
  SendKeyUp(nullptr, VK_F24);
  SendKeyUp(nullptr, VK_F23);

  EXPECT_LT(onlyF24[VK_F24 - 1], 0);
  for (std::size_t slot = 0; slot < onlyF24.size(); ++slot) {
    if (slot != VK_F24 - 1) {
      EXPECT_EQ(onlyF24[slot], 0) << "slot of key " << slot + 1;
    }
  }
  EXPECT_LT(both[VK_F23 - 1], 0);
  EXPECT_LT(both[VK_F24 - 1], 0);
}

// The keys a tick reads grow with the registrations: a hotkey on another key, registered after
// the poll has started, fires with its modifier.
TEST(HotkeyRegistryAdapter, HotkeyRegisteredLaterOnAnotherKeyFires) {
  DrainQueue();
  CreateHotkeyRegistry();
  g_fired = 0;
  RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&RecordSynchronousFiring), VK_F24, 0, 0, 0,
                       1);
  PumpingDelay(30);
  const std::int32_t later = RegisterPolledHotkey(
      reinterpret_cast<HotkeyCallback>(&RecordSynchronousFiring), VK_F22, 4, 0, 0, 1);  // Shift
  SendKeyDown(nullptr, VK_SHIFT);
  SendKeyDown(nullptr, VK_F22);
  PumpingDelay(100);
  SendKeyUp(nullptr, VK_F22);
  SendKeyUp(nullptr, VK_SHIFT);
  PumpingDelay(60);
  EXPECT_EQ(g_fired, 1);
  EXPECT_EQ(g_firedWindow, reinterpret_cast<HWND>(static_cast<INT_PTR>(later)));
  ReleaseHotkeyRegistry();
  DrainQueue();
}

}  // namespace

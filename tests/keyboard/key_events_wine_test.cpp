// Synthetic key events on the real platform: what reaches a window, what a dead target sends.
#include <gtest/gtest.h>
#include <windows.h>

#include "keyboard/keyboard_win32.h"
#include "wine_clock.h"
#include "wine_test_window.h"

namespace {

// A key nothing else in the test environment uses.
constexpr int kVkF24 = VK_F24;

bool IsKeyDown(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

TEST(KeyEventWithoutTarget, ChangesTheKeyStateAndPumpsDuringItsWait) {
  DrainQueue();
  CountingWindow window;
  PostMessageA(window.handle(), kProbeMessage, 0, 0);
  const double start = NowMs();
  SendKeyDown(nullptr, kVkF24);
  const double elapsed = NowMs() - start;
  const bool downAfterPress = IsKeyDown(kVkF24);
  SendKeyUp(nullptr, kVkF24);
  EXPECT_TRUE(downAfterPress);
  EXPECT_FALSE(IsKeyDown(kVkF24));
  EXPECT_GE(elapsed, 49.0);
  EXPECT_GE(window.dispatched(), 1);
}

TEST(KeyEventAtDestroyedWindow, SendsNothingAndDoesNotWait) {
  DrainQueue();
  HWND gone = CreateWindowExA(0, "STATIC", "gone", 0, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  CountingWindow window;
  PostMessageA(window.handle(), kProbeMessage, 0, 0);

  SendKeyDown(gone, kVkF24);
  const bool downAfterPress = IsKeyDown(kVkF24);
  SendKeyUp(gone, kVkF24);

  EXPECT_FALSE(downAfterPress);
  // A wait would have pumped the posted message.
  EXPECT_EQ(window.dispatched(), 0);
  DrainQueue();
}

struct DeliveryCase {
  int virtualKey;
  std::int32_t extended;
};

class KeyEventAtOtherThreadsWindow : public testing::TestWithParam<DeliveryCase> {};

TEST_P(KeyEventAtOtherThreadsWindow, ArrivesAsKeyDownThenKeyUpWithTheVirtualKey) {
  KeyRecordingWindowThread target;
  ASSERT_NE(target.handle(), nullptr);
  const int key = GetParam().virtualKey;
  const std::int32_t extended = GetParam().extended;

  const DWORD before = GetTickCount();
  const double start = NowMs();
  SendKeyDown(target.handle(), key, extended);
  SendKeyUp(target.handle(), key, extended);
  const double elapsed = NowMs() - start;

  // Each event waits after the focus change and after itself.
  EXPECT_GE(elapsed, 4 * 50.0 - 2.0);
  const std::vector<KeyMessage> keys = target.keys();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
  for (const KeyMessage& k : keys) {
    EXPECT_EQ(k.virtualKey, static_cast<WPARAM>(key));
    EXPECT_EQ(k.extended, extended != 0);
  }
  // The record's time is taken after the focus change and its wait.
  EXPECT_GE(keys[0].time - before, 45u);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyEventAtOtherThreadsWindow,
                         testing::Values(DeliveryCase{'Q', 0}, DeliveryCase{VK_F9, 1},
                                         DeliveryCase{'7', 5}));

}  // namespace

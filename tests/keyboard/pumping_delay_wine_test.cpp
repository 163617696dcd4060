// The pumping delay and the message pump on the real platform.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>

#include "keyboard/keyboard_win32.h"
#include "platform/win32_guards.h"
#include "wine_clock.h"
#include "wine_test_window.h"

namespace {

class PumpingDelayTest : public testing::Test {
 protected:
  void SetUp() override { DrainQueue(); }
  void TearDown() override {
    SetMessagePreTranslator(nullptr);
    DrainQueue();
  }
  CountingWindow window_;
};

struct PosterArgs {
  HWND window;
  DWORD afterMs;
};

DWORD WINAPI PostAfter(LPVOID parameter) noexcept {
  auto* args = static_cast<PosterArgs*>(parameter);
  Sleep(args->afterMs);
  PostMessageA(args->window, kProbeMessage, 0, 0);
  return 0;
}

struct LowerBoundCase {
  std::int32_t amount;
  std::int32_t unit;
  double atLeastMs;
};

class PumpingDelayLength : public PumpingDelayTest,
                           public testing::WithParamInterface<LowerBoundCase> {};

TEST_P(PumpingDelayLength, LastsAtLeastItsDueTime) {
  const double start = NowMs();
  PumpingDelay(GetParam().amount, GetParam().unit);
  const double elapsed = NowMs() - start;
  EXPECT_GE(elapsed, GetParam().atLeastMs - 1.0);  // timer granularity
  EXPECT_LT(elapsed, GetParam().atLeastMs + 5000.0);  // bounded: it does end
}

INSTANTIATE_TEST_SUITE_P(Units, PumpingDelayLength,
                         testing::Values(LowerBoundCase{50, 0, 50}, LowerBoundCase{2, 7, 14},
                                         LowerBoundCase{50, 1, 0}, LowerBoundCase{1, 2, 1000}));

TEST_F(PumpingDelayTest, DispatchesAMessagePostedDuringTheWaitAndStillLastsItsFullTime) {
  PosterArgs args{window_.handle(), 10};
  const UniqueHandle poster(CreateThread(nullptr, 0, &PostAfter, &args, 0, nullptr));
  const double start = NowMs();
  PumpingDelay(50);
  const double elapsed = NowMs() - start;
  WaitForSingleObject(poster.get(), 5000);
  EXPECT_EQ(window_.dispatched(), 1);
  EXPECT_GE(elapsed, 49.0);
}

int g_timerTicks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) noexcept { ++g_timerTicks; }

TEST_F(PumpingDelayTest, RunsAThreadTimerWhoseMessageWasNoticedBeforeTheDelay) {
  g_timerTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, &CountTick);
  ASSERT_NE(timer, 0u);
  Sleep(40);
  MSG message;
  // Looking at the queue makes the waiting WM_TIMER old news to the delay's wait.
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  PumpingDelay(100);
  KillTimer(nullptr, timer);
  EXPECT_GE(g_timerTicks, 1);
}

TEST_F(PumpingDelayTest, AmountBelowOneReturnsAtOnceWithoutTouchingTheQueue) {
  for (std::int32_t amount : {0, -1, INT_MIN}) {
    PostMessageA(window_.handle(), kProbeMessage, 0, 0);
    PumpingDelay(amount, 2);
    EXPECT_EQ(window_.dispatched(), 0) << amount;
    DrainQueue();
  }
}

TEST_F(PumpingDelayTest, NegativeUnitCodeReturnsAtOnce) {
  PostMessageA(window_.handle(), kProbeMessage, 0, 0);
  PumpingDelay(1000, -3);
  EXPECT_EQ(window_.dispatched(), 0);
}

TEST_F(PumpingDelayTest, QuitInTheQueueStaysThereWithoutSpinningTheWait) {
  PostQuitMessage(3);
  const double cpuBefore = ThreadCpuMs();
  const double start = NowMs();
  PumpingDelay(300);
  const double elapsed = NowMs() - start;
  const double cpu = ThreadCpuMs() - cpuBefore;
  EXPECT_GE(elapsed, 299.0);
  EXPECT_LT(cpu, 150.0) << "the delay spun on a queued WM_QUIT";
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

DWORD WINAPI DelayForever(LPVOID) noexcept {
  PumpingDelay(INT_MAX, 5);  // past the 64-bit range: saturated, not wrapped around
  return 0;
}

TEST(SaturatedPumpingDelay, WaitsInsteadOfReturningAtOnce) {
  // The delay never ends; the thread is left to the end of the process.
  const UniqueHandle thread(CreateThread(nullptr, 0, &DelayForever, nullptr, 0, nullptr));
  ASSERT_TRUE(thread);
  EXPECT_EQ(WaitForSingleObject(thread.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
}

int g_preTranslated = 0;

bool ConsumeOddProbes(MSG* message) {
  if (message->message != kProbeMessage || (message->wParam & 1) == 0) return false;
  ++g_preTranslated;
  return true;
}

TEST_F(PumpingDelayTest, PumpRunsThePreTranslatorFirstAndLeavesQuitQueued) {
  g_preTranslated = 0;
  SetMessagePreTranslator(&ConsumeOddProbes);
  for (WPARAM i = 0; i < 4; ++i) PostMessageA(window_.handle(), kProbeMessage, i, 0);
  PostQuitMessage(9);
  PumpPendingMessages();
  EXPECT_EQ(g_preTranslated, 2);
  EXPECT_EQ(window_.dispatched(), 2);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 9u);
}

TEST_F(PumpingDelayTest, PumpReturnsOnAnEmptyQueue) {
  PumpPendingMessages();
  EXPECT_EQ(window_.dispatched(), 0);
}

}  // namespace

// How the time left of an exchange is waited: whole seconds while a second or more is left,
// short polls for the rest, nothing once it is spent.
#include <gtest/gtest.h>

#include <cstdint>

#include "services/exchange_wait.h"

namespace {

struct WaitCase {
  std::int64_t remaining_ms;
  bool expired;
  std::int32_t seconds;
  std::int32_t poll_ms;
};

class NextWaitTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(NextWaitTest, SpendsWhatIsLeft) {
  const WaitStep step = NextWait(GetParam().remaining_ms);
  EXPECT_EQ(step.expired, GetParam().expired);
  EXPECT_EQ(step.seconds, GetParam().seconds);
  EXPECT_EQ(step.poll_ms, GetParam().poll_ms);
}

INSTANTIATE_TEST_SUITE_P(
    Remaining, NextWaitTest,
    ::testing::Values(WaitCase{-5, true, 0, 0}, WaitCase{0, true, 0, 0},
                      WaitCase{1, false, 0, 1}, WaitCase{kReplyPollMs, false, 0, kReplyPollMs},
                      WaitCase{999, false, 0, kReplyPollMs}, WaitCase{1000, false, 1, 0},
                      WaitCase{1500, false, 1, 0}, WaitCase{19999, false, 19, 0},
                      WaitCase{20000, false, 20, 0},
                      // A bound of days is waited a day at a time, never overflowing.
                      WaitCase{INT64_C(1) << 40, false, 86400, 0}));

}  // namespace

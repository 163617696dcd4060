// Due times of the pumping delay for each unit, the amounts that wait nothing, and saturation.
#include "keyboard/delay_due_time.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace {

struct DueTimeCase {
  std::int32_t amount;
  std::int32_t unit;
  std::optional<std::int64_t> dueTime;
};

class DelayDueTimes : public testing::TestWithParam<DueTimeCase> {};

TEST_P(DelayDueTimes, AreNegativeHundredNanosecondCounts) {
  EXPECT_EQ(DelayDueTime(GetParam().amount, GetParam().unit), GetParam().dueTime)
      << GetParam().amount << " in unit " << GetParam().unit;
}

INSTANTIATE_TEST_SUITE_P(
    Units, DelayDueTimes,
    testing::Values(DueTimeCase{50, 0, -500000}, DueTimeCase{50, 1, -500},
                    DueTimeCase{2, 2, -20000000}, DueTimeCase{1, 3, -600000000},
                    DueTimeCase{1, 4, -36000000000}, DueTimeCase{1, 5, -864000000000},
                    DueTimeCase{2, 7, -140000}, DueTimeCase{3, 6, -180000},
                    DueTimeCase{1, 1, -10},
                    DueTimeCase{INT_MAX, 0, -21474836470000},
                    DueTimeCase{INT_MAX, 1, -21474836470},
                    DueTimeCase{INT_MAX, 3, -1288490188200000000}));

INSTANTIATE_TEST_SUITE_P(
    NothingToWaitFor, DelayDueTimes,
    testing::Values(DueTimeCase{0, 0, std::nullopt}, DueTimeCase{-1, 0, std::nullopt},
                    DueTimeCase{INT_MIN, 5, std::nullopt}, DueTimeCase{0, 5, std::nullopt},
                    // A negative unit code would make the due time positive: an absolute
                    // moment long past.
                    DueTimeCase{10, -7, std::nullopt}, DueTimeCase{10, INT_MIN, std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Saturation, DelayDueTimes,
    testing::Values(DueTimeCase{256204778, 4, -9223372008000000000},  // the last hour that fits
                    DueTimeCase{256204779, 4, kLongestDueTime},
                    DueTimeCase{INT_MAX, 4, kLongestDueTime},
                    DueTimeCase{10675199, 5, -9223371936000000000},  // the last day that fits
                    DueTimeCase{10675200, 5, kLongestDueTime},
                    DueTimeCase{INT_MAX, 5, kLongestDueTime},
                    // Large milliseconds-per-unit codes overflow as well.
                    DueTimeCase{INT_MAX, INT_MAX, kLongestDueTime}));

struct WaitCase {
  std::uint32_t result;
  DelayWaitStep step;
};

class DelayWaitResults : public testing::TestWithParam<WaitCase> {};

TEST_P(DelayWaitResults, EndOnTimerOrFailureAndPumpOnMessages) {
  EXPECT_EQ(ClassifyDelayWait(GetParam().result), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(
    Results, DelayWaitResults,
    testing::Values(WaitCase{0, DelayWaitStep::kDone},              // WAIT_OBJECT_0
                    WaitCase{1, DelayWaitStep::kPumpAndWait},       // a message arrived
                    WaitCase{0x80, DelayWaitStep::kGiveUp},         // WAIT_ABANDONED_0
                    WaitCase{0x102, DelayWaitStep::kGiveUp},        // WAIT_TIMEOUT
                    WaitCase{0xFFFFFFFF, DelayWaitStep::kGiveUp}));  // WAIT_FAILED

TEST(LongestDueTime, CanBeNegatedWithoutOverflow) {
  EXPECT_LT(kLongestDueTime, 0);
  EXPECT_EQ(-kLongestDueTime, INT64_MAX);
}

}  // namespace

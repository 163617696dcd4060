#include "keyboard/delay_due_time.h"

namespace {

constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitMessage = 1;  // WAIT_OBJECT_0 + the number of handles (1)

double MillisecondsPerUnit(std::int32_t unit) {
  switch (unit) {
    case kDelayMilliseconds: return 1;
    case kDelaySeconds: return 1000;
    case kDelayMinutes: return 60000;
    case kDelayHours: return 3600000;
    case kDelayDays: return 86400000;
    default: return unit;
  }
}

}  // namespace

std::optional<std::int64_t> DelayDueTime(std::int32_t amount, std::int32_t unit) {
  if (amount < 1 || unit < 0) return std::nullopt;
  const double product = unit == kDelayMicroseconds
                             ? static_cast<double>(amount) * -10.0
                             : static_cast<double>(amount) * MillisecondsPerUnit(unit) * -10000.0;
  // -2^63 is exact in a double; anything at or past it does not convert.
  if (product <= -9223372036854775808.0) return kLongestDueTime;
  return static_cast<std::int64_t>(product);  // the conversion truncates toward zero
}

DelayWaitStep ClassifyDelayWait(std::uint32_t waitResult) {
  if (waitResult == kWaitObject0) return DelayWaitStep::kDone;
  if (waitResult == kWaitMessage) return DelayWaitStep::kPumpAndWait;
  return DelayWaitStep::kGiveUp;
}

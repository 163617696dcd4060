// How long a pumping delay waits, as the relative due time of a waitable timer.
#pragma once

#include <cstdint>
#include <optional>

// Unit codes: 0 ms, 1 µs, 2 s, 3 min, 4 h, 5 days; any other code is the number of
// milliseconds per unit.
enum DelayUnit : std::int32_t {
  kDelayMilliseconds = 0,
  kDelayMicroseconds = 1,
  kDelaySeconds = 2,
  kDelayMinutes = 3,
  kDelayHours = 4,
  kDelayDays = 5,
};

// The longest relative wait a due time can express (about 29,000 years). Kept one short of the
// 64-bit minimum so that code negating a due time cannot overflow.
inline constexpr std::int64_t kLongestDueTime = -INT64_MAX;

// The due time in 100 ns intervals, negative (relative to now): amount times the unit's length,
// computed in double precision and truncated toward zero; a product past the 64-bit range is
// saturated to kLongestDueTime. No value when there is nothing to wait for: an amount below 1,
// or a negative unit code, whose product would name an absolute moment in 1601.
std::optional<std::int64_t> DelayDueTime(std::int32_t amount, std::int32_t unit);

// What the delay does with one result of its wait for the timer or a message.
enum class DelayWaitStep {
  kDone,          // the timer fired
  kPumpAndWait,   // messages arrived: dispatch them, then wait again
  kGiveUp,        // the wait failed: end the delay rather than spin on a failing call
};
DelayWaitStep ClassifyDelayWait(std::uint32_t waitResult);

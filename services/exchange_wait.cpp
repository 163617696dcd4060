#include "services/exchange_wait.h"

#include <algorithm>

WaitStep NextWait(std::int64_t remaining_ms) {
  WaitStep step;
  if (remaining_ms <= 0) {
    step.expired = true;
  } else if (remaining_ms >= 1000) {
    // Capped so that a huge bound cannot overflow the object's own milliseconds.
    step.seconds = static_cast<std::int32_t>(std::min<std::int64_t>(remaining_ms / 1000, 86400));
  } else {
    step.poll_ms = static_cast<std::int32_t>(std::min<std::int64_t>(remaining_ms, kReplyPollMs));
  }
  return step;
}

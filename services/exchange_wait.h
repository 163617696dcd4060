// How the time left of an exchange is spent waiting for the reply. The request object waits
// in whole seconds only, so a bound like 1.5 s is waited as one second in one piece and the
// rest in short polls; the exchange is then cut within one poll of its deadline, not up to a
// second after it.
#pragma once

#include <cstdint>

struct WaitStep {
  bool expired = false;       // nothing left: cut the exchange now
  std::int32_t seconds = 0;   // wait this many whole seconds for the reply
  std::int32_t poll_ms = 0;   // or (seconds == 0) look once, then pause this long
};

inline constexpr std::int32_t kReplyPollMs = 10;

WaitStep NextWait(std::int64_t remaining_ms);

// The translation service as the tool uses it: the routes of both engines in order, their rest
// after a failure, the translation memory and the budget of a pass, over an HTTP exchange and
// a clock that come in from outside. Everything is in memory only; nothing is saved.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "services/http_exchange.h"
#include "services/routes.h"
#include "services/service_endpoints.h"
#include "services/translation_memory.h"

// Milliseconds of a monotonic clock.
using MonotonicClock = std::function<std::int64_t()>;

// How long a failed route rests: 1 minute after its first failure in a row, then 5, then 15.
std::int64_t RestAfterFailuresMs(int failuresInARow);

// A pass stops asking once this long has gone by without an answer from any route.
constexpr std::int64_t kSilenceBeforeGivingUpMs = 20000;

// What a batch request may hold.
constexpr std::size_t kBatchMaxTexts = 50;
constexpr std::size_t kBatchMaxCharacters = 5000;

class Translator {
 public:
  Translator(ServiceEndpoints endpoints, HttpExchange exchange, MonotonicClock clock,
             MemoryBounds memoryBounds = {});

  // Starts a pass: its silence budget (from here on, no exchange is started, nor may last,
  // once kSilenceBeforeGivingUpMs have gone by without an answer) and its list of texts, which a route that takes a
  // batch asks for all at once when it is reached.
  void BeginPass(Engine preferred, std::int32_t direction, const std::vector<AnsiText>& texts);

  // The translation of `text` in code page 936, empty when there is none: from the memory, or
  // from the first route that answers with one. Nothing is sent for a direction outside 0 to 4.
  AnsiText Translate(Engine preferred, const AnsiText& text, std::int32_t direction);

  bool IsResting(Route route);
  std::size_t RememberedTexts();

 private:
  struct Health {
    int failuresInARow = 0;
    std::int64_t restUntilMs = 0;
  };
  enum class Outcome { kTranslated, kAnsweredWithout, kFailed, kOutOfTime };

  Outcome Ask(Route route, Engine preferred, std::int32_t direction,
              const std::vector<AnsiText>& texts);
  Outcome AskInBatches(Route route, Engine preferred, std::int32_t direction,
                       const AnsiText& text);
  std::vector<AnsiText> PendingTextsStartingWith(Engine preferred, std::int32_t direction,
                                                 const AnsiText& text);
  bool RestingNow(Route route);  // the caller holds mutex_
  bool OutOfTime(std::int64_t now) const;
  ExchangeLimits LimitsAt(std::int64_t now) const;
  void Failed(Route route, std::int64_t now);

  std::mutex mutex_;
  ServiceEndpoints endpoints_;
  HttpExchange exchange_;
  MonotonicClock clock_;
  TranslationMemory memory_;
  std::map<Route, Health> health_;
  bool inPass_ = false;  // the silence budget counts within a pass only
  std::int64_t lastAnswerMs_ = 0;
  std::vector<AnsiText> passTexts_;
  std::set<std::string> failedThisPass_;
};

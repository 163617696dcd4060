#include "services/translator.h"

#include <algorithm>

#include "text/code_page_936.h"

namespace {

bool IsDirection(std::int32_t direction) { return direction >= 0 && direction <= 4; }

}  // namespace

std::int64_t RestAfterFailuresMs(int failuresInARow) {
  if (failuresInARow <= 0) return 0;
  if (failuresInARow == 1) return 60 * 1000;
  if (failuresInARow == 2) return 5 * 60 * 1000;
  return 15 * 60 * 1000;
}

Translator::Translator(ServiceEndpoints endpoints, HttpExchange exchange, MonotonicClock clock,
                       MemoryBounds memoryBounds)
    : endpoints_(std::move(endpoints)),
      exchange_(std::move(exchange)),
      clock_(std::move(clock)),
      memory_(memoryBounds),
      lastAnswerMs_(clock_()) {}

void Translator::BeginPass(Engine, std::int32_t, const std::vector<AnsiText>& texts) {
  std::lock_guard<std::mutex> lock(mutex_);
  inPass_ = true;
  lastAnswerMs_ = clock_();
  passTexts_ = texts;
  failedThisPass_.clear();
}

bool Translator::IsResting(Route route) {
  std::lock_guard<std::mutex> lock(mutex_);
  return RestingNow(route);
}

bool Translator::RestingNow(Route route) { return health_[route].restUntilMs > clock_(); }

std::size_t Translator::RememberedTexts() {
  std::lock_guard<std::mutex> lock(mutex_);
  return memory_.Texts();
}

bool Translator::OutOfTime(std::int64_t now) const {
  return inPass_ && now - lastAnswerMs_ >= kSilenceBeforeGivingUpMs;
}

ExchangeLimits Translator::LimitsAt(std::int64_t now) const {
  // No exchange may outlast the pass's silence budget.
  const std::int64_t left =
      inPass_ ? kSilenceBeforeGivingUpMs - (now - lastAnswerMs_) : endpoints_.limits.deadline_ms;
  const auto bound = [left](std::int32_t ms) {
    return static_cast<std::int32_t>(std::max<std::int64_t>(1, std::min<std::int64_t>(ms, left)));
  };
  const ExchangeLimits& l = endpoints_.limits;
  return {bound(l.resolve_ms), bound(l.connect_ms), bound(l.send_ms), bound(l.receive_ms),
          bound(l.deadline_ms)};
}

void Translator::Failed(Route route, std::int64_t now) {
  Health& health = health_[route];
  ++health.failuresInARow;
  health.restUntilMs = now + RestAfterFailuresMs(health.failuresInARow);
}

Translator::Outcome Translator::Ask(Route route, Engine preferred, std::int32_t direction,
                                    const std::vector<AnsiText>& texts) {
  const std::optional<HttpRequest> request = RouteRequest(route, endpoints_, texts, direction);
  if (!request) return Outcome::kAnsweredWithout;
  const std::int64_t start = clock_();
  if (OutOfTime(start)) return Outcome::kOutOfTime;
  const HttpReply reply = exchange_(*request, LimitsAt(start));
  const std::int64_t now = clock_();
  if (!reply.answered || reply.status < 200 || reply.status > 299) {
    Failed(route, now);
    return Outcome::kFailed;
  }
  const RouteAnswer answer = ReadRouteReply(route, endpoints_, reply.body, texts.size());
  if (!answer.readable || answer.translations.size() != texts.size()) {
    Failed(route, now);
    return Outcome::kFailed;
  }
  health_[route] = Health{};
  lastAnswerMs_ = now;
  bool any = false;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (!answer.translations[i]) continue;
    memory_.Remember(preferred, direction, texts[i], *answer.translations[i]);
    any = true;
  }
  return any ? Outcome::kTranslated : Outcome::kAnsweredWithout;
}

std::vector<AnsiText> Translator::PendingTextsStartingWith(Engine preferred,
                                                           std::int32_t direction,
                                                           const AnsiText& text) {
  std::vector<AnsiText> pending{text};
  std::set<AnsiText> seen{text};
  for (const AnsiText& other : passTexts_) {
    if (!seen.insert(other).second) continue;
    const std::string key = TranslationMemory::KeyOf(preferred, direction, other);
    if (failedThisPass_.count(key) != 0) continue;
    if (memory_.Find(preferred, direction, other)) continue;
    pending.push_back(other);
  }
  return pending;
}

Translator::Outcome Translator::AskInBatches(Route route, Engine preferred,
                                             std::int32_t direction, const AnsiText& text) {
  const std::vector<AnsiText> pending = PendingTextsStartingWith(preferred, direction, text);
  Outcome first = Outcome::kAnsweredWithout;
  std::size_t next = 0;
  while (next < pending.size()) {
    std::vector<AnsiText> batch;
    std::size_t characters = 0;
    while (next < pending.size() && batch.size() < kBatchMaxTexts) {
      const std::size_t length = cp936::ToUtf16(pending[next]).size();
      if (!batch.empty() && characters + length > kBatchMaxCharacters) break;
      characters += length;
      batch.push_back(pending[next++]);
    }
    const Outcome outcome = Ask(route, preferred, direction, batch);
    if (batch.front() == text) first = outcome;
    // A failed batch rests the route; the texts left are asked one by one elsewhere.
    if (outcome == Outcome::kFailed || outcome == Outcome::kOutOfTime) break;
  }
  return first;
}

AnsiText Translator::Translate(Engine preferred, const AnsiText& text, std::int32_t direction) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!IsDirection(direction)) return {};
  if (std::optional<AnsiText> known = memory_.Find(preferred, direction, text)) return *known;
  const std::string passKey = TranslationMemory::KeyOf(preferred, direction, text);
  if (failedThisPass_.count(passKey) != 0) return {};
  for (const Route route : RoutesInOrder(preferred)) {
    if (RestingNow(route)) continue;
    const Outcome outcome = TakesBatch(route) ? AskInBatches(route, preferred, direction, text)
                                              : Ask(route, preferred, direction, {text});
    if (outcome == Outcome::kOutOfTime) break;
    if (std::optional<AnsiText> found = memory_.Find(preferred, direction, text)) return *found;
  }
  failedThisPass_.insert(passKey);
  return {};
}

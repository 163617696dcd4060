// The engines over one process-wide translator, the real exchange and the endpoints the
// executable was linked with.
#include "services/translation_clients.h"

#include <chrono>

#include "services/http_exchange_win32.h"
#include "services/service_endpoints.h"
#include "services/translator.h"

namespace {

std::int64_t MonotonicMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Never destroyed: a pass may still use it while the process ends.
Translator& ProcessTranslator() {
  static Translator* translator =
      new Translator(CurrentServiceEndpoints(), ExchangeOverWinHttp, MonotonicMs);
  return *translator;
}

Engine EngineFor(bool microsoft) { return microsoft ? Engine::kMicrosoft : Engine::kGoogle; }

}  // namespace

AnsiText TranslateWithGoogle(const AnsiText& text, std::int32_t direction) {
  return ProcessTranslator().Translate(Engine::kGoogle, text, direction);
}

AnsiText TranslateWithMicrosoft(const AnsiText& text, std::int32_t direction) {
  return ProcessTranslator().Translate(Engine::kMicrosoft, text, direction);
}

void BeginTranslationPass(bool microsoft, std::int32_t direction,
                          const std::vector<AnsiText>& texts) {
  ProcessTranslator().BeginPass(EngineFor(microsoft), direction, texts);
}

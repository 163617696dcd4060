#include "services/translation_front_win32.h"

#include "platform/win32_guards.h"
#include "services/translation_clients.h"

namespace {

class ServiceClients final : public TranslationClients {
 public:
  AnsiText TranslateWithGoogle(const AnsiText& text, std::int32_t direction) override {
    return ::TranslateWithGoogle(text, direction);
  }
  AnsiText TranslateWithMicrosoft(const AnsiText& text, std::int32_t direction) override {
    return ::TranslateWithMicrosoft(text, direction);
  }
  void BeginPass(bool microsoft, std::int32_t direction,
                 const std::vector<AnsiText>& texts) override {
    BeginTranslationPass(microsoft, direction, texts);
  }
};

}  // namespace

void TranslateSourceBox(TranslationHandOver& handOver) {
  const ComInitScope apartment;
  ServiceClients clients;
  TranslateSourceBoxWith(handOver, clients);
}

void BeginTranslations(TranslationHandOver& handOver, const std::vector<AnsiText>& texts) {
  ServiceClients clients;
  BeginTranslationsWith(handOver, clients, texts);
}

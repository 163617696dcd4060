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
};

}  // namespace

void TranslateSourceBox(TranslationHandOver& handOver) {
  const ComInitScope apartment;
  ServiceClients clients;
  TranslateSourceBoxWith(handOver, clients);
}

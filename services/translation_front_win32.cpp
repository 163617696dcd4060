#include "services/translation_front_win32.h"

#include <objbase.h>
#include <windows.h>

#include "services/translation_clients.h"

namespace {

class ComApartment {
 public:
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

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
  // CoUninitialize must balance every CoInitialize, whatever it returned.
  ComApartment apartment;
  ServiceClients clients;
  TranslateSourceBoxWith(handOver, clients);
}

#include "services/translation_front_win32.h"

#include <objbase.h>
#include <windows.h>

#include "app/main_window_controls.h"
#include "services/translation_clients.h"
#include "services/translation_front.h"

namespace {

class ComApartment {
 public:
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

class MainWindowHandOver final : public TranslationHandOver {
 public:
  AnsiText ReadSourceText() override { return ReadSourceBoxText(); }
  void SetResultText(const AnsiText& text) override { SetResultBoxText(text); }
  bool IsMicrosoftBoxChecked() override { return ::IsMicrosoftBoxChecked(); }
  int DirectionCurrentItem() override { return ::DirectionCurrentItem(); }
  int DirectionItemValue(int itemIndex) override { return ::DirectionItemValue(itemIndex); }
};

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

void TranslateSourceBox() {
  // CoUninitialize must balance every CoInitialize, whatever it returned.
  ComApartment apartment;
  MainWindowHandOver handOver;
  ServiceClients clients;
  TranslateSourceBoxWith(handOver, clients);
}

void BeginTranslations(const std::vector<AnsiText>& texts) {
  MainWindowHandOver handOver;
  ServiceClients clients;
  BeginTranslationsWith(handOver, clients, texts);
}

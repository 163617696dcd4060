// MainWindow's boxes as the translation front sees them.
#pragma once

#include "services/translation_front.h"

class MainWindowHandOver final : public TranslationHandOver {
 public:
  AnsiText ReadSourceText() override;
  void SetResultText(const AnsiText& text) override;
  bool IsMicrosoftBoxChecked() override;
  int DirectionCurrentItem() override;
  int DirectionItemValue(int itemIndex) override;
};

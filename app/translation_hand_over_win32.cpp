#include "app/translation_hand_over_win32.h"

#include "app/main_window_controls.h"

AnsiText MainWindowHandOver::ReadSourceText() { return ReadSourceBoxText(); }
void MainWindowHandOver::SetResultText(const AnsiText& text) { SetResultBoxText(text); }
bool MainWindowHandOver::IsMicrosoftBoxChecked() { return ::IsMicrosoftBoxChecked(); }
int MainWindowHandOver::DirectionCurrentItem() { return ::DirectionCurrentItem(); }
int MainWindowHandOver::DirectionItemValue(int itemIndex) {
  return ::DirectionItemValue(itemIndex);
}

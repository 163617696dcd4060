// Placeholder so the subsystems link before the main window lands; replaced by it.
#include "app/main_window_controls.h"

HWND MainWindowHandle() { return nullptr; }
HWND StatusBoxHandle() { return nullptr; }
HWND DescriptionBoxHandle() { return nullptr; }
AnsiText ReadSourceBoxText() { return {}; }
AnsiText ReadResultBoxText() { return {}; }
void SetSourceBoxText(const AnsiText&) {}
void SetResultBoxText(const AnsiText&) {}
void SetStatusText(const AnsiText&) {}
bool IsMicrosoftBoxChecked() { return false; }
int DirectionCurrentItem() { return -1; }
int DirectionItemValue(int) { return -1; }
void RedrawMainWindow() {}

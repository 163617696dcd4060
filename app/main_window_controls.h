// Operations on MainWindow's controls that the translation pass and the translation front
// use. Each may be called from any thread: it acts through window messages, so the work is
// done on the GUI thread while the caller waits.
#pragma once

#include <windows.h>

#include "text/ansi_text.h"

HWND MainWindowHandle();
HWND StatusBoxHandle();       // 状态
HWND DescriptionBoxHandle();  // 编辑框1

AnsiText ReadSourceBoxText();  // 原文内容
AnsiText ReadResultBoxText();  // 翻译结果
AnsiText ReadStatusText();     // 状态
void SetSourceBoxText(const AnsiText& text);
void SetResultBoxText(const AnsiText& text);
void SetStatusText(const AnsiText& text);

bool IsMicrosoftBoxChecked();           // 选择框_必应
int DirectionCurrentItem();             // 组合框1: current index, -1 when none
int DirectionItemValue(int itemIndex);  // -1 outside the items

void RedrawMainWindow();

// The test that keeps a window's text out of the pass: does it already begin with Chinese?
#pragma once

#include "text/ansi_text.h"

// True when the text begins with a GB2312 hanzi that has a pinyin reading (first byte
// B0-F7, second byte A1-FE, minus the empty cells and the characters without a reading).
bool StartsWithChineseCharacter(const AnsiText& text);

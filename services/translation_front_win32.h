// The translation front on Windows: MainWindow's boxes in, the service clients out.
#pragma once

#include <vector>

#include "text/ansi_text.h"

// Enters a single-threaded COM apartment, translates 原文内容 into 翻译结果 and leaves the
// apartment again, on every call.
void TranslateSourceBox();

// Before a pass: hands the service the pass's texts with the engine and direction set now.
void BeginTranslations(const std::vector<AnsiText>& texts);

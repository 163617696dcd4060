// The translation front on Windows: the hand-over boxes in, the service clients out.
#pragma once

#include <vector>

#include "services/translation_front.h"

// Enters a single-threaded COM apartment, translates the hand-over's source text (原文内容)
// into its result (翻译结果) and leaves the apartment again, on every call. The caller owns
// the boxes and hands them in; the front knows no window.
void TranslateSourceBox(TranslationHandOver& handOver);

// Before a pass: hands the service the pass's texts with the engine and direction the
// hand-over shows now.
void BeginTranslations(TranslationHandOver& handOver, const std::vector<AnsiText>& texts);

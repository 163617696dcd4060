// The translation front on Windows: MainWindow's boxes in, the service clients out.
#pragma once

// Enters a single-threaded COM apartment, translates 原文内容 into 翻译结果 and leaves the
// apartment again, on every call.
void TranslateSourceBox();

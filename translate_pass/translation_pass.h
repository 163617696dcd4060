// The F2 pass over the window under the cursor, and its undo on Shift+F2, as decisions over
// the window-system ports.
#pragma once

#include <cstddef>

#include "translate_pass/original_texts.h"
#include "translate_pass/window_ports.h"

namespace pass_text {
extern const AnsiText kJoking;       // 你绝对在逗我
extern const AnsiText kTranslating;  // 正在翻译...
extern const AnsiText kFinished;     // 翻译完成
extern const AnsiText kNoService;    // 翻译失败：翻译服务无响应
extern const AnsiText kRestored;     // 已恢复原文
// 正在翻译... done/total
AnsiText Progress(std::size_t done, std::size_t total);
// 翻译完成，N项未能翻译
AnsiText FinishedWithFailures(std::size_t untranslated);
}  // namespace pass_text

// After this many texts in a row without a translation the pass asks the service nothing
// more: a dead network must not cost a full wait for every remaining window.
constexpr int kFailuresBeforeGivingUp = 3;

// One pass: every descendant whose text is the program's own, not yet Chinese and has a
// letter, then the window's own text, each written only when a translation came back; then
// the desktop refresh. Every window written is recorded in `originals`.
void TranslateWindowUnderCursor(PassWindowSystem& windows, ToolWindow& tool,
                                OriginalTexts& originals);

// Puts back the original text of every window under the cursor (and below it) that the tool
// wrote and that still shows what the tool wrote.
void RestoreWindowUnderCursor(PassWindowSystem& windows, ToolWindow& tool,
                              OriginalTexts& originals);

// Run the above unless a pass or a restore is running already (then return false at once and
// touch nothing): both share the hand-over boxes and the windows they write.
bool TranslateWindowUnderCursorIfIdle(PassWindowSystem& windows, ToolWindow& tool,
                                      OriginalTexts& originals);
bool RestoreWindowUnderCursorIfIdle(PassWindowSystem& windows, ToolWindow& tool,
                                    OriginalTexts& originals);

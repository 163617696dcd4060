// The F2 pass over the window under the cursor, as decisions over the window-system ports.
#pragma once

#include "translate_pass/window_ports.h"

namespace pass_text {
extern const AnsiText kJoking;       // 你绝对在逗我
extern const AnsiText kTranslating;  // 正在翻译...
extern const AnsiText kFinished;     // 翻译完成
}  // namespace pass_text

// After this many texts in a row without a translation the pass asks the service nothing
// more: a dead network must not cost a full wait for every remaining window.
constexpr int kFailuresBeforeGivingUp = 3;

// One pass: every descendant whose text does not begin with Chinese, then the window's own
// text, each written only when a translation came back; then the desktop refresh.
void TranslateWindowUnderCursor(PassWindowSystem& windows, ToolWindow& tool);

// Runs a pass unless one is running already (then returns false at once and touches
// nothing): passes share the hand-over boxes and must not interleave on them.
bool TranslateWindowUnderCursorIfIdle(PassWindowSystem& windows, ToolWindow& tool);

#include "translate_pass/translation_pass.h"

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "translate_pass/chinese_character.h"
#include "translate_pass/clean_translation.h"
#include "translate_pass/what_to_translate.h"

namespace pass_text {
const AnsiText kJoking = "\xC4\xE3\xBE\xF8\xB6\xD4\xD4\xDA\xB6\xBA\xCE\xD2";  // 你绝对在逗我
const AnsiText kTranslating = "\xD5\xFD\xD4\xDA\xB7\xAD\xD2\xEB...";         // 正在翻译...
const AnsiText kFinished = "\xB7\xAD\xD2\xEB\xCD\xEA\xB3\xC9";               // 翻译完成
// 翻译失败：翻译服务无响应
const AnsiText kNoService =
    "\xB7\xAD\xD2\xEB\xCA\xA7\xB0\xDC\xA3\xBA\xB7\xAD\xD2\xEB\xB7\xFE\xCE\xF1\xCE\xDE\xCF\xEC"
    "\xD3\xA6";
const AnsiText kRestored = "\xD2\xD1\xBB\xD6\xB8\xB4\xD4\xAD\xCE\xC4";  // 已恢复原文

AnsiText Progress(std::size_t done, std::size_t total) {
  return kTranslating + " " + std::to_string(done) + "/" + std::to_string(total);
}

AnsiText FinishedWithFailures(std::size_t untranslated) {
  return kFinished + "\xA3\xAC" + std::to_string(untranslated) +    // ，
         "\xCF\xEE\xCE\xB4\xC4\xDC\xB7\xAD\xD2\xEB";                // 项未能翻译
}
}  // namespace pass_text

namespace {

// One window the pass will ask a translation for, with the text it had when read.
struct PlannedWindow {
  WindowHandle window;
  AnsiText text;
};

// The decisions made before any request: a window's text is sent only when it is the
// program's own label (not the user's input), readable, not blank, not already Chinese (the
// window under the cursor is translated even then), has a letter and is not too long.
bool ShouldAsk(PassWindowSystem& windows, WindowHandle window, bool isCaption,
               std::optional<AnsiText>& text) {
  if (HoldsUserInput(windows.FactsOf(window))) return false;
  text = windows.ReadWindowText(window);
  if (!text || ansi::IsBlank(*text)) return false;
  if (!isCaption && StartsWithChineseCharacter(*text)) return false;
  return HasLetter(*text) && IsShortEnoughToSend(*text);
}

// Hands texts to the front one at a time; a text asked once in a pass is not asked again.
class Translator {
 public:
  explicit Translator(ToolWindow& tool) : tool_(tool) {}

  // False when the tool is closing and nothing more may be asked.
  bool Translate(const AnsiText& text, std::optional<AnsiText>& translation) {
    const auto known = answers_.find(text);
    if (known != answers_.end()) {
      translation = known->second;
      return true;
    }
    translation.reset();
    if (failuresInARow_ < kFailuresBeforeGivingUp) {
      if (tool_.StopRequested()) return false;
      translation = Ask(text);
      failuresInARow_ = translation ? 0 : failuresInARow_ + 1;
    }
    answers_[text] = translation;
    return true;
  }

 private:
  std::optional<AnsiText> Ask(const AnsiText& text) {
    // 翻译结果 is emptied first: a front that answers nothing leaves it as it is, and the
    // previous window's reply must not land here.
    tool_.SetResultText(AnsiText());
    tool_.SetSourceText(text);
    tool_.TranslateSourceBox();
    AnsiText cleaned = CleanTranslation(tool_.ReadResultText());
    // Never blank a window for want of a translation, nor flood it with a runaway reply.
    if (cleaned.empty() || !IsTranslationWritable(text, cleaned)) return std::nullopt;
    return cleaned;
  }

  ToolWindow& tool_;
  int failuresInARow_ = 0;
  std::map<AnsiText, std::optional<AnsiText>> answers_;
};

std::vector<AnsiText> TextsToAsk(const std::vector<PlannedWindow>& plan) {
  std::vector<AnsiText> texts;
  std::set<AnsiText> seen;
  for (const PlannedWindow& planned : plan)
    if (seen.insert(planned.text).second) texts.push_back(planned.text);
  return texts;
}

AnsiText LastWord(std::size_t translated, std::size_t untranslated) {
  if (untranslated == 0) return pass_text::kFinished;
  if (translated == 0) return pass_text::kNoService;
  return pass_text::FinishedWithFailures(untranslated);
}

// Passes and restores, one at a time. Never destroyed: the process may end while one holds it.
std::mutex& RunningPass() {
  static std::mutex* running = new std::mutex;
  return *running;
}

// A window that is gone has no class. Its handle may come back as another window, which must
// never get this one's original text.
void ForgetGoneWindows(PassWindowSystem& windows, OriginalTexts& originals) {
  originals.ForgetWhere(
      [&](WindowHandle window) { return windows.FactsOf(window).className.empty(); });
}

// The window under the cursor, sampled once per press, and its tree: every descendant in
// enumeration order, then the window itself. Nothing for no window, the desktop and the
// tool's own windows (which get the joking answer).
bool TreeUnderCursor(PassWindowSystem& windows, ToolWindow& tool, OriginalTexts& originals,
                     WindowHandle& target, std::vector<WindowHandle>& order) {
  target = windows.WindowUnderCursor();
  if (target == 0) return false;
  if (windows.IsOwnProcessWindow(target)) {
    tool.SetStatusText(pass_text::kJoking);
    return false;
  }
  ForgetGoneWindows(windows, originals);
  order = windows.CollectChildWindows(target);
  order.push_back(target);
  return true;
}

}  // namespace

void TranslateWindowUnderCursor(PassWindowSystem& windows, ToolWindow& tool,
                                OriginalTexts& originals) {
  WindowHandle target = 0;
  std::vector<WindowHandle> order;
  if (!TreeUnderCursor(windows, tool, originals, target, order)) return;
  std::vector<PlannedWindow> plan;
  for (const WindowHandle window : order) {
    std::optional<AnsiText> text;
    if (ShouldAsk(windows, window, window == target, text)) plan.push_back({window, *text});
  }
  if (!plan.empty()) tool.BeginTranslations(TextsToAsk(plan));

  Translator translator(tool);
  std::size_t done = 0, translated = 0;
  for (const PlannedWindow& planned : plan) {
    std::optional<AnsiText> translation;
    if (!translator.Translate(planned.text, translation)) return;
    ++done;
    if (!translation) continue;
    ++translated;
    if (tool.StopRequested()) return;
    if (windows.WriteWindowText(planned.window, *translation))
      originals.Record(planned.window, planned.text, *translation);
    // The window under the cursor is written last and only written: the last word follows.
    if (planned.window == target) continue;
    tool.SetStatusText(pass_text::Progress(done, plan.size()));
    windows.PumpPendingMessages();
    windows.InvalidateWindow(planned.window);
    tool.UpdateMainWindow();
  }

  windows.RefreshDesktop();
  tool.SetStatusText(LastWord(translated, plan.size() - translated));
}

void RestoreWindowUnderCursor(PassWindowSystem& windows, ToolWindow& tool,
                              OriginalTexts& originals) {
  WindowHandle target = 0;
  std::vector<WindowHandle> order;
  if (!TreeUnderCursor(windows, tool, originals, target, order)) return;
  for (const WindowHandle window : order) {
    const std::optional<OriginalTexts::Entry> entry = originals.Find(window);
    if (!entry) continue;
    const std::optional<AnsiText> shown = windows.ReadWindowText(window);
    if (!shown) continue;  // no answer now: keep the original for a later try
    originals.Forget(window);
    // A program that changed the text since keeps its own.
    if (*shown != entry->written) continue;
    if (tool.StopRequested()) return;
    if (!windows.WriteWindowText(window, entry->original)) continue;
    windows.PumpPendingMessages();
    windows.InvalidateWindow(window);
  }
  tool.SetStatusText(pass_text::kRestored);
}

bool TranslateWindowUnderCursorIfIdle(PassWindowSystem& windows, ToolWindow& tool,
                                      OriginalTexts& originals) {
  std::unique_lock<std::mutex> lock(RunningPass(), std::try_to_lock);
  if (!lock.owns_lock()) return false;
  TranslateWindowUnderCursor(windows, tool, originals);
  return true;
}

bool RestoreWindowUnderCursorIfIdle(PassWindowSystem& windows, ToolWindow& tool,
                                    OriginalTexts& originals) {
  std::unique_lock<std::mutex> lock(RunningPass(), std::try_to_lock);
  if (!lock.owns_lock()) return false;
  RestoreWindowUnderCursor(windows, tool, originals);
  return true;
}

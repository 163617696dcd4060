#include "translate_pass/translation_pass.h"

#include <mutex>
#include <optional>

#include "translate_pass/chinese_character.h"
#include "translate_pass/clean_translation.h"

namespace pass_text {
const AnsiText kJoking = "\xC4\xE3\xBE\xF8\xB6\xD4\xD4\xDA\xB6\xBA\xCE\xD2";  // 你绝对在逗我
const AnsiText kTranslating = "\xD5\xFD\xD4\xDA\xB7\xAD\xD2\xEB...";         // 正在翻译...
const AnsiText kFinished = "\xB7\xAD\xD2\xEB\xCD\xEA\xB3\xC9";               // 翻译完成
}  // namespace pass_text

namespace {

// Hands one text to the front; gives the cleaned translation, or nothing when there is none.
class Translator {
 public:
  explicit Translator(ToolWindow& tool) : tool_(tool) {}

  std::optional<AnsiText> Translate(const AnsiText& text) {
    // The front would not translate a blank text and would leave the previous reply in
    // 翻译结果; deciding here keeps that reply out of this window.
    if (ansi::IsBlank(text) || failuresInARow_ >= kFailuresBeforeGivingUp) return std::nullopt;
    tool_.SetResultText(AnsiText());
    tool_.SetSourceText(text);
    tool_.TranslateSourceBox();
    AnsiText cleaned = CleanTranslation(tool_.ReadResultText());
    if (cleaned.empty()) {
      ++failuresInARow_;
      return std::nullopt;  // never blank a window for want of a translation
    }
    failuresInARow_ = 0;
    return cleaned;
  }

 private:
  ToolWindow& tool_;
  int failuresInARow_ = 0;
};

bool IsOnToolWindow(PassWindowSystem& windows, ToolWindow& tool) {
  return windows.WindowUnderCursor() == tool.MainWindowHandle() ||
         windows.WindowUnderCursor() == tool.StatusBoxHandle() ||
         windows.WindowUnderCursor() == tool.DescriptionBoxHandle();
}

// Texts longer than this are not sent; a reply is not written when it is longer than both
// limits allow (a window given megabytes may end its program).
constexpr std::size_t kLongestSentText = 5000;
constexpr std::size_t kLongestWrittenText = 64 * 1024;

bool IsEditableEditBox(const WindowFacts& facts) {
  constexpr std::uint32_t kReadOnly = 0x0800;  // ES_READONLY
  AnsiText lower = facts.className;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower == "edit" && (facts.style & kReadOnly) == 0;
}

bool MayWrite(const AnsiText& source, const AnsiText& reply) {
  return reply.size() <= kLongestWrittenText && reply.size() <= 8 * source.size() + 1024;
}

}  // namespace

void TranslateWindowUnderCursor(PassWindowSystem& windows, ToolWindow& tool) {
  if (IsOnToolWindow(windows, tool)) {
    tool.SetStatusText(pass_text::kJoking);
    return;
  }
  const WindowHandle parent = windows.WindowUnderCursor();
  // Enumerating the children of 0 would list every top-level window, the tool's own too.
  if (parent == 0 || windows.IsOwnProcessWindow(parent)) return;
  const std::vector<WindowHandle> children = windows.CollectChildWindows(parent);
  const WindowHandle ownTextWindow = windows.WindowUnderCursor();

  Translator translator(tool);
  const auto translateAndWrite = [&](WindowHandle window, bool chineseCounts) {
    if (tool.StopRequested() || windows.IsOwnProcessWindow(window)) return false;
    if (IsEditableEditBox(windows.FactsOf(window))) return false;
    const std::optional<AnsiText> text = windows.ReadWindowText(window);
    if (!text || text->size() > kLongestSentText) return false;
    if (chineseCounts && StartsWithChineseCharacter(*text)) return false;
    const std::optional<AnsiText> translated = translator.Translate(*text);
    if (!translated || !MayWrite(*text, *translated) || tool.StopRequested()) return false;
    return windows.WriteWindowText(window, *translated);
  };
  for (const WindowHandle child : children) {
    if (!translateAndWrite(child, true)) continue;
    tool.SetStatusText(pass_text::kTranslating);
    windows.PumpPendingMessages();
    windows.InvalidateWindow(child);
    tool.UpdateMainWindow();
  }
  if (ownTextWindow != 0) translateAndWrite(ownTextWindow, false);
  if (tool.StopRequested()) return;
  windows.RefreshDesktop();
  tool.SetStatusText(pass_text::kFinished);
}

bool TranslateWindowUnderCursorIfIdle(PassWindowSystem& windows, ToolWindow& tool) {
  // Never destroyed: the process may end while a pass still holds it.
  static std::mutex* runningPass = new std::mutex;
  std::unique_lock<std::mutex> lock(*runningPass, std::try_to_lock);
  if (!lock.owns_lock()) return false;
  TranslateWindowUnderCursor(windows, tool);
  return true;
}

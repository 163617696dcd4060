#include "translate_pass/window_text_win32.h"

#include <algorithm>
#include <string>

#include "text/code_page_936.h"

namespace {

// Milliseconds left of a bound that started at `started` (GetTickCount); 0 when it is over.
UINT Remaining(DWORD started, UINT bound) {
  const DWORD spent = GetTickCount() - started;  // unsigned: right across the wrap
  return spent >= bound ? 0 : static_cast<UINT>(bound - spent);
}

// One wide send within the time left. SMTO_ABORTIFHUNG: a thread the system already knows to
// be hung costs nothing. The calling thread keeps serving messages sent to it meanwhile, so a
// window that calls back into the tool while answering cannot deadlock the pair.
WindowAnswer Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD started,
                  DWORD_PTR* reply) {
  const UINT left = Remaining(started, kWindowAnswerWaitMs);
  if (left == 0) return WindowAnswer::kSilent;
  *reply = 0;
  if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, left, reply) != 0) {
    return WindowAnswer::kAnswered;
  }
  return IsWindow(window) ? WindowAnswer::kSilent : WindowAnswer::kGone;
}

void Tell(WindowAnswer* answer, WindowAnswer value) {
  if (answer != nullptr) *answer = value;
}

}  // namespace

bool WindowAnswers(HWND window, UINT waitMs) {
  DWORD_PTR ignored = 0;
  return IsWindow(window) &&
         SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, waitMs, &ignored) != 0;
}

std::optional<AnsiText> ReadWindowTextBounded(HWND window, WindowAnswer* answer) {
  const DWORD started = GetTickCount();
  if (!IsWindow(window)) {
    Tell(answer, WindowAnswer::kGone);
    return std::nullopt;
  }
  DWORD_PTR reply = 0;
  WindowAnswer result = Send(window, WM_GETTEXTLENGTH, 0, 0, started, &reply);
  if (result != WindowAnswer::kAnswered) {
    Tell(answer, result);
    return std::nullopt;
  }
  // The reported length only sizes the first buffer; a negative one says nothing.
  const auto reported = static_cast<LRESULT>(reply);
  if (reported > static_cast<LRESULT>(kLongestReadableText)) {
    Tell(answer, WindowAnswer::kRefused);
    return std::nullopt;
  }
  std::size_t size = std::max<std::size_t>(
      kFirstReadBuffer, reported > 0 ? static_cast<std::size_t>(reported) + 1 : 0);
  size = std::min(size, kLongestReadableText + 1);
  for (;;) {
    std::u16string buffer(size, u'\0');
    result = Send(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer.data()), started,
                  &reply);
    if (result != WindowAnswer::kAnswered) {
      Tell(answer, result);
      return std::nullopt;
    }
    // The text ends at its first NUL, whatever count the window returned. When it reaches the
    // buffer's last unit the window had more to give: ask again with room to spare.
    const std::size_t length = std::char_traits<char16_t>::length(buffer.c_str());
    if (length + 1 < size) {
      buffer.resize(length);
      std::optional<AnsiText> text = cp936::FromUtf16(buffer);
      Tell(answer, text ? WindowAnswer::kAnswered : WindowAnswer::kRefused);
      return text;
    }
    if (size > kLongestReadableText) {
      Tell(answer, WindowAnswer::kRefused);
      return std::nullopt;
    }
    size = std::min(size * 4, kLongestReadableText + 1);
  }
}

bool WriteWindowTextBounded(HWND window, const AnsiText& text, WindowAnswer* answer) {
  const DWORD started = GetTickCount();
  if (!IsWindow(window)) {
    Tell(answer, WindowAnswer::kGone);
    return false;
  }
  const std::u16string wide = cp936::ToUtf16(text);
  // WM_SETTEXT takes a NUL-terminated text: a NUL inside ends it there, as it would in a read.
  DWORD_PTR reply = 0;
  const WindowAnswer result =
      Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), started, &reply);
  Tell(answer, result);
  return result == WindowAnswer::kAnswered;
}

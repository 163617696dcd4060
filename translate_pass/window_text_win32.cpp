#include "translate_pass/window_text_win32.h"

#include <vector>

bool WindowAnswers(HWND window) {
  // The wide send: Wine's SendMessageTimeoutA ignores the time-out for a window whose thread
  // stopped answering and would block for ever; the wide one returns at once.
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kWindowAnswerWaitMs, &ignored) != 0;
}

AnsiText ReadWindowTextBounded(HWND window) {
  if (!IsWindow(window) || !WindowAnswers(window)) return AnsiText();
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                           kWindowAnswerWaitMs, &reply))
    return AnsiText();
  const auto length = static_cast<LRESULT>(reply);
  if (length <= 0 || length > kLongestReadableText) return AnsiText();

  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                           kWindowAnswerWaitMs, &reply))
    return AnsiText();
  buffer.back() = '\0';  // a window that fills the whole buffer still ends here
  return AnsiText(buffer.data());
}

// Bounded messages to windows of other programs, which may be hung, slow or hostile.
//
// Only the wide messages are sent: under Wine an ANSI WM_GETTEXTLENGTH to another process
// first fetches the whole text through an unbounded wide send, and SendMessageTimeoutA ignores
// its time-out for a window whose thread stopped answering. Texts cross in UTF-16 and are
// converted to and from code page 936 here, whatever the process's ANSI code page is.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "text/ansi_text.h"

// How long one read, one write or one probe of a foreign window may take in all.
constexpr UINT kWindowAnswerWaitMs = 2000;

// Longer texts (in UTF-16 units) are not read: a hostile length must not size an allocation,
// and such a text is never translated anyway.
constexpr std::size_t kLongestReadableText = std::size_t{1} << 20;

// The first buffer of a read, whatever length the window reports: a window that reports a
// shorter length than its text is caught without a second message when its text is short.
constexpr std::size_t kFirstReadBuffer = 256;

// How an exchange with a window ended.
enum class WindowAnswer {
  kAnswered,
  kGone,     // no longer a window
  kSilent,   // did not answer within the bound (hung, blocked or slow)
  kRefused,  // answered, but with nothing usable (too long, not representable)
};

// True when the window's thread answers a WM_NULL within the wait.
bool WindowAnswers(HWND window, UINT waitMs = kWindowAnswerWaitMs);

// The window's whole text in code page 936, or nothing (see `answer`): never a cut text.
std::optional<AnsiText> ReadWindowTextBounded(HWND window, WindowAnswer* answer = nullptr);

// Sends WM_SETTEXT with the text in UTF-16. True when the window took it in time.
bool WriteWindowTextBounded(HWND window, const AnsiText& text, WindowAnswer* answer = nullptr);

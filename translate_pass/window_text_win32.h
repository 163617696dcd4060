// Bounded messages to windows that may belong to a hung program.
#pragma once

#include <windows.h>

#include "text/ansi_text.h"

// How long a foreign window may take to answer one message.
constexpr UINT kWindowAnswerWaitMs = 2000;

// Longer texts are not read: a hostile length must not size an allocation.
constexpr LRESULT kLongestReadableText = 1 << 20;

// True when the window's thread answers a WM_NULL within the wait.
bool WindowAnswers(HWND window);

AnsiText ReadWindowTextBounded(HWND window);

// What start-up uses of the translation pass on Windows.
#pragma once

#include <windows.h>

// The F2 callback: a thread start routine that ignores its argument (the hotkey id) and runs
// one translation pass over the window under the cursor.
DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID hotkeyId);

// The process-wide list that one child-window enumeration fills: created at start-up,
// released by the exit clean-up. A pass that runs after the release enumerates nothing.
void CreateChildWindowList();
void ReleaseChildWindowList();

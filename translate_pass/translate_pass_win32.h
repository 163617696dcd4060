// What start-up uses of the translation pass on Windows, and the pass's window helpers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "text/ansi_text.h"

// The F2 callback: a thread start routine that ignores its argument (the hotkey id) and runs
// one translation pass over the window under the cursor.
DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID hotkeyId) noexcept;
// The Shift+F2 callback, the same way: puts back the texts the tool wrote into the window
// under the cursor and below it.
DWORD WINAPI RestoreWindowUnderCursorThread(LPVOID hotkeyId) noexcept;

// The process-wide list that one child-window enumeration fills: created at start-up,
// released by the exit clean-up. A pass that runs after the release enumerates nothing.
void CreateChildWindowList();
void ReleaseChildWindowList();

// One pass on the calling thread; returns at once while another pass or a restore runs.
void TranslateWindowUnderCursor();
void RestoreWindowUnderCursor();

HWND WindowUnderCursor();
// Bounded: a window that does not answer within a couple of seconds reads as empty.
AnsiText ReadWindowText(HWND window);
std::int32_t CollectChildWindows(HWND parent, std::vector<HWND>& children);
BOOL CALLBACK AppendChildWindow(HWND window, LPARAM unused) noexcept;
HWND FindShellDesktopWindow();
void RefreshDesktop();

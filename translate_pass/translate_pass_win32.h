// What start-up uses of the translation pass on Windows, and the pass's window helpers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "text/ansi_text.h"

// The F2 callback: a thread start routine that ignores its argument (the hotkey id) and runs
// one translation pass over the window under the cursor. Once the tool is closing it does
// nothing.
DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID hotkeyId) noexcept;
// The Shift+F2 callback, the same way: puts back what the passes wrote under the cursor.
DWORD WINAPI RestoreWindowUnderCursorThread(LPVOID hotkeyId) noexcept;

// The process-wide list that one child-window enumeration fills: created at start-up,
// released by the exit clean-up. A pass that runs after the release enumerates nothing.
void CreateChildWindowList();
void ReleaseChildWindowList();

// One pass, or one restore, on the calling thread; returns at once while another runs.
void TranslateWindowUnderCursor();
void RestoreWindowUnderCursor();

// The tool's end, on the GUI thread: asks every running pass to stop (it writes nothing more
// into other programs) and waits at most `waitMs` for them, serving the messages they send to
// the tool's window meanwhile. True when no pass runs any more.
bool StopPassesAndWait(DWORD waitMs);

// The window under the cursor; 0 for none and for the desktop (see IsDesktopWindow).
HWND WindowUnderCursor();
// The desktop window itself, and any window inside the shell's desktop ("Progman" and the
// "WorkerW" windows that carry its icons and wallpaper): pressing F2 there means no window.
bool IsDesktopWindow(HWND window);
bool IsOwnProcessWindow(HWND window);
// Whole text in code page 936 or nothing; bounded (see window_text_win32.h).
std::optional<AnsiText> ReadWindowText(HWND window);
bool WriteWindowText(HWND window, const AnsiText& text);
std::int32_t CollectChildWindows(HWND parent, std::vector<HWND>& children);
BOOL CALLBACK AppendChildWindow(HWND window, LPARAM unused) noexcept;
// "Progman" titled "Program Manager", when it exists and answers within the bound; else 0.
HWND FindShellDesktopWindow();
void RefreshDesktop();

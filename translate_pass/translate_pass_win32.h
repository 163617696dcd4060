// What start-up uses of the translation pass on Windows, and the pass's window helpers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "text/ansi_text.h"
#include "translate_pass/window_ports.h"

// The process-wide list that one child-window enumeration fills: created at start-up,
// released by the exit clean-up. A pass that runs after the release enumerates nothing.
void CreateChildWindowList();
void ReleaseChildWindowList();

// One pass, or one restore, on the calling thread for the tool window the caller hands in;
// returns at once while another runs, and does nothing once the tool is closing.
void TranslateWindowUnderCursor(ToolWindow& tool);
void RestoreWindowUnderCursor(ToolWindow& tool);

// True once the tool's end has asked the passes to stop.
bool PassStopRequested();

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

// What start-up uses of the translation pass on Windows, and the pass's window helpers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "text/ansi_text.h"
#include "translate_pass/window_ports.h"

// The process-wide list that one child-window enumeration fills: created at start-up,
// released by the exit clean-up. A pass that runs after the release enumerates nothing.
void CreateChildWindowList();
void ReleaseChildWindowList();

// One pass on the calling thread for the tool window the caller hands in; returns at once
// while another pass runs.
void TranslateWindowUnderCursor(ToolWindow& tool);

HWND WindowUnderCursor();
// Bounded: a window that does not answer within a couple of seconds reads as empty.
AnsiText ReadWindowText(HWND window);
std::int32_t CollectChildWindows(HWND parent, std::vector<HWND>& children);
BOOL CALLBACK AppendChildWindow(HWND window, LPARAM unused) noexcept;
HWND FindShellDesktopWindow();
void RefreshDesktop();

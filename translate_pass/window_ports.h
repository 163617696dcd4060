// The small window-system ports the translation pass decides over. The Win32 adapter gives
// the real ones; native tests give an in-memory window tree.
#pragma once

#include <cstdint>
#include <vector>

#include "text/ansi_text.h"

using WindowHandle = std::uintptr_t;  // an HWND as a number; 0 is no window

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct WindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The hit-testing primitives WindowUnderCursor is built from.
class WindowTree {
 public:
  virtual ~WindowTree() = default;
  virtual bool CursorPosition(ScreenPoint& point) = 0;
  virtual WindowHandle WindowFromPoint(ScreenPoint point) = 0;
  virtual WindowRect WindowRectOf(WindowHandle window) = 0;
  virtual WindowHandle ParentOf(WindowHandle window) = 0;
  virtual WindowHandle NextInZOrder(WindowHandle window) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
};

// What the pass does to foreign windows.
class PassWindowSystem {
 public:
  virtual ~PassWindowSystem() = default;
  virtual WindowHandle WindowUnderCursor() = 0;
  // All descendants of `parent` in the order the platform reports them.
  virtual std::vector<WindowHandle> CollectChildWindows(WindowHandle parent) = 0;
  // Empty for no window, no text, or a window that does not answer in time.
  virtual AnsiText ReadWindowText(WindowHandle window) = 0;
  virtual void WriteWindowText(WindowHandle window, const AnsiText& text) = 0;
  virtual void InvalidateWindow(WindowHandle window) = 0;
  virtual void PumpPendingMessages() = 0;
  virtual void RefreshDesktop() = 0;
};

// The tool's own window as the pass sees it: the guarded handles, the hand-over boxes and
// the translation front behind them.
class ToolWindow {
 public:
  virtual ~ToolWindow() = default;
  virtual WindowHandle MainWindowHandle() = 0;
  virtual WindowHandle StatusBoxHandle() = 0;
  virtual WindowHandle DescriptionBoxHandle() = 0;
  virtual void SetSourceText(const AnsiText& text) = 0;
  virtual void SetResultText(const AnsiText& text) = 0;
  virtual AnsiText ReadResultText() = 0;
  virtual void TranslateSourceBox() = 0;
  virtual void SetStatusText(const AnsiText& text) = 0;
  virtual void UpdateMainWindow() = 0;
};

// The key events of the desktop refresh.
class DesktopKeys {
 public:
  virtual ~DesktopKeys() = default;
  virtual WindowHandle FindShellDesktopWindow() = 0;
  virtual void SendKeyDown(WindowHandle target, std::int32_t virtualKey) = 0;
  virtual void SendKeyUp(WindowHandle target, std::int32_t virtualKey) = 0;
};

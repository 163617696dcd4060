// The small window-system ports the translation pass decides over. The Win32 adapter gives
// the real ones; native tests give an in-memory window tree.
#pragma once

#include <cstdint>
#include <optional>
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

// What the pass learns of a foreign window before it decides whether to touch it.
struct WindowFacts {
  AnsiText className;       // ASCII, as GetClassName gives it; empty when the window is gone
  std::uint32_t style = 0;  // GWL_STYLE
  AnsiText parentClassName;  // of the parent window; empty for a top-level window
};

// What the pass does to foreign windows. Every call is bounded: a window that stops answering
// costs at most the bound, once.
class PassWindowSystem {
 public:
  virtual ~PassWindowSystem() = default;
  // 0 for no window and for the desktop window itself (its descendants would be every
  // program on the screen).
  virtual WindowHandle WindowUnderCursor() = 0;
  // All descendants of `parent` in the order the platform reports them.
  virtual std::vector<WindowHandle> CollectChildWindows(WindowHandle parent) = 0;
  // The window's whole text in code page 936, "" for a window without text. Nothing when the
  // window is gone or did not answer in time, when its text is longer than the read cap, or
  // when it has a character with no GBK form (it could only come back damaged).
  virtual std::optional<AnsiText> ReadWindowText(WindowHandle window) = 0;
  // False when the text was not written (window gone, no answer in time).
  virtual bool WriteWindowText(WindowHandle window, const AnsiText& text) = 0;
  virtual WindowFacts FactsOf(WindowHandle window) = 0;
  // True for every window of the tool's own process.
  virtual bool IsOwnProcessWindow(WindowHandle window) = 0;
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
  // Once per pass, before the first text: the texts this pass will ask for, in order, so the
  // front can start its budget and ask a route that takes a batch for all of them at once.
  virtual void BeginTranslations(const std::vector<AnsiText>& textsToAsk) = 0;
  virtual void SetSourceText(const AnsiText& text) = 0;
  virtual void SetResultText(const AnsiText& text) = 0;
  virtual AnsiText ReadResultText() = 0;
  virtual void TranslateSourceBox() = 0;
  // Writes the status line only when its text changes.
  virtual void SetStatusText(const AnsiText& text) = 0;
  virtual void UpdateMainWindow() = 0;
  // True once the tool is closing: the pass writes nothing more and ends.
  virtual bool StopRequested() = 0;
};

// The key events of the desktop refresh.
class DesktopKeys {
 public:
  virtual ~DesktopKeys() = default;
  virtual WindowHandle FindShellDesktopWindow() = 0;
  virtual void SendKeyDown(WindowHandle target, std::int32_t virtualKey) = 0;
  virtual void SendKeyUp(WindowHandle target, std::int32_t virtualKey) = 0;
};

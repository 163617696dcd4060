// MainWindow as the translation pass sees it, and the F2 callback that hands it to the pass.
#pragma once

#include <windows.h>

#include "translate_pass/window_ports.h"

class MainWindowAsToolWindow final : public ToolWindow {
 public:
  WindowHandle MainWindowHandle() override;
  WindowHandle StatusBoxHandle() override;
  WindowHandle DescriptionBoxHandle() override;
  void SetSourceText(const AnsiText& text) override;
  void SetResultText(const AnsiText& text) override;
  AnsiText ReadResultText() override;
  void TranslateSourceBox() override;
  void SetStatusText(const AnsiText& text) override;
  void UpdateMainWindow() override;
};

// The F2 callback: a thread start routine that ignores its argument (the hotkey id) and runs
// one translation pass over the window under the cursor for MainWindow.
DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID hotkeyId) noexcept;

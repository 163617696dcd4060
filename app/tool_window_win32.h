// MainWindow as the translation pass sees it, and the F2 and Shift+F2 callbacks that hand it
// to the pass.
#pragma once

#include <windows.h>

#include "translate_pass/window_ports.h"

class MainWindowAsToolWindow final : public ToolWindow {
 public:
  WindowHandle MainWindowHandle() override;
  WindowHandle StatusBoxHandle() override;
  WindowHandle DescriptionBoxHandle() override;
  void BeginTranslations(const std::vector<AnsiText>& textsToAsk) override;
  void SetSourceText(const AnsiText& text) override;
  void SetResultText(const AnsiText& text) override;
  AnsiText ReadResultText() override;
  void TranslateSourceBox() override;
  void SetStatusText(const AnsiText& text) override;
  void UpdateMainWindow() override;
  bool StopRequested() override;
};

// The F2 callback: a thread start routine that ignores its argument (the hotkey id) and runs
// one translation pass over the window under the cursor for MainWindow. Once the tool is
// closing it does nothing.
DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID hotkeyId) noexcept;
// The Shift+F2 callback, the same way: puts back what the passes wrote under the cursor.
DWORD WINAPI RestoreWindowUnderCursorThread(LPVOID hotkeyId) noexcept;

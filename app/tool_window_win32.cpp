#include "app/tool_window_win32.h"

#include "app/main_window_controls.h"
#include "app/translation_hand_over_win32.h"
#include "services/translation_front_win32.h"
#include "translate_pass/translate_pass_win32.h"

namespace {

WindowHandle AsHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace

WindowHandle MainWindowAsToolWindow::MainWindowHandle() { return AsHandle(::MainWindowHandle()); }
WindowHandle MainWindowAsToolWindow::StatusBoxHandle() { return AsHandle(::StatusBoxHandle()); }
WindowHandle MainWindowAsToolWindow::DescriptionBoxHandle() {
  return AsHandle(::DescriptionBoxHandle());
}
void MainWindowAsToolWindow::BeginTranslations(const std::vector<AnsiText>& textsToAsk) {
  MainWindowHandOver handOver;
  ::BeginTranslations(handOver, textsToAsk);
}
void MainWindowAsToolWindow::SetSourceText(const AnsiText& text) { SetSourceBoxText(text); }
void MainWindowAsToolWindow::SetResultText(const AnsiText& text) { SetResultBoxText(text); }
AnsiText MainWindowAsToolWindow::ReadResultText() { return ReadResultBoxText(); }
void MainWindowAsToolWindow::TranslateSourceBox() {
  MainWindowHandOver handOver;
  ::TranslateSourceBox(handOver);
}
void MainWindowAsToolWindow::SetStatusText(const AnsiText& text) {
  // Setting the text it already shows would only cost a repaint of the status line; reading
  // it is one message with no drawing.
  if (ReadStatusText() == text) return;
  ::SetStatusText(text);
}
void MainWindowAsToolWindow::UpdateMainWindow() { UpdateWindow(::MainWindowHandle()); }
bool MainWindowAsToolWindow::StopRequested() { return PassStopRequested(); }

DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID) noexcept {
  MainWindowAsToolWindow tool;
  TranslateWindowUnderCursor(tool);
  return 0;
}

DWORD WINAPI RestoreWindowUnderCursorThread(LPVOID) noexcept {
  MainWindowAsToolWindow tool;
  RestoreWindowUnderCursor(tool);
  return 0;
}

// The operations other subsystems use on MainWindow's controls; see main_window_controls.h.
#include "app/main_window_controls.h"

#include <vector>

#include "app/main_window_handles_win32.h"
#include "app/wide_text_win32.h"

MainWindowHandles& TheMainWindowHandles() {
  // Never destroyed: a worker thread may still read it while the process exits.
  static auto* handles = new MainWindowHandles;
  return *handles;
}

namespace {

// The boxes hold UTF-16; read wide and convert with code page 936 named, so the bytes are the
// same whatever the system's ANSI code page is.
AnsiText ReadWindowText(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(buffer.size()),
                   reinterpret_cast<LPARAM>(buffer.data()));
  if (copied <= 0) return {};
  const auto size = static_cast<std::size_t>(copied) < buffer.size() - 1
                        ? static_cast<std::size_t>(copied)
                        : buffer.size() - 1;
  return Text936FromWide(buffer.data(), size);
}

void WriteWindowText(HWND window, const AnsiText& text) {
  SetWindowTextW(window, WideFrom936(text).c_str());
}

}  // namespace

HWND MainWindowHandle() { return TheMainWindowHandles().mainWindow.load(); }
HWND StatusBoxHandle() { return TheMainWindowHandles().状态.load(); }
HWND DescriptionBoxHandle() { return TheMainWindowHandles().编辑框1.load(); }

AnsiText ReadSourceBoxText() { return ReadWindowText(TheMainWindowHandles().原文内容.load()); }
AnsiText ReadResultBoxText() { return ReadWindowText(TheMainWindowHandles().翻译结果.load()); }
AnsiText ReadStatusText() { return ReadWindowText(TheMainWindowHandles().状态.load()); }

void SetSourceBoxText(const AnsiText& text) {
  WriteWindowText(TheMainWindowHandles().原文内容.load(), text);
}
void SetResultBoxText(const AnsiText& text) {
  WriteWindowText(TheMainWindowHandles().翻译结果.load(), text);
}
void SetStatusText(const AnsiText& text) {
  WriteWindowText(TheMainWindowHandles().状态.load(), text);
}

bool IsMicrosoftBoxChecked() {
  return SendMessageA(TheMainWindowHandles().选择框_必应.load(), BM_GETCHECK, 0, 0) ==
         BST_CHECKED;
}

int DirectionCurrentItem() {
  HWND list = TheMainWindowHandles().组合框1.load();
  if (list == nullptr || !IsWindow(list)) return -1;
  return static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
}

int DirectionItemValue(int itemIndex) {
  HWND list = TheMainWindowHandles().组合框1.load();
  if (itemIndex < 0) return -1;
  const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  if (count <= 0 || itemIndex >= count) return -1;
  return static_cast<int>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(itemIndex), 0));
}

void RedrawMainWindow() {
  HWND window = TheMainWindowHandles().mainWindow.load();
  if (window != nullptr) UpdateWindow(window);
}

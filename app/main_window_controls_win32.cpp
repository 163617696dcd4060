// The operations other subsystems use on MainWindow's controls; see main_window_controls.h.
#include "app/main_window_controls.h"

#include <vector>

#include "app/main_window_handles_win32.h"

MainWindowHandles& TheMainWindowHandles() {
  // Never destroyed: a worker thread may still read it while the process exits.
  static auto* handles = new MainWindowHandles;
  return *handles;
}

namespace {

AnsiText ReadWindowText(HWND window) {
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(buffer.size()),
                   reinterpret_cast<LPARAM>(buffer.data()));
  if (copied <= 0) return {};
  const auto size = static_cast<std::size_t>(copied) < buffer.size() - 1
                        ? static_cast<std::size_t>(copied)
                        : buffer.size() - 1;
  return AnsiText(buffer.data(), size);
}

}  // namespace

HWND MainWindowHandle() { return TheMainWindowHandles().mainWindow.load(); }
HWND StatusBoxHandle() { return TheMainWindowHandles().状态.load(); }
HWND DescriptionBoxHandle() { return TheMainWindowHandles().编辑框1.load(); }

AnsiText ReadSourceBoxText() { return ReadWindowText(TheMainWindowHandles().原文内容.load()); }
AnsiText ReadResultBoxText() { return ReadWindowText(TheMainWindowHandles().翻译结果.load()); }

void SetSourceBoxText(const AnsiText& text) {
  SetWindowTextA(TheMainWindowHandles().原文内容.load(), text.c_str());
}
void SetResultBoxText(const AnsiText& text) {
  SetWindowTextA(TheMainWindowHandles().翻译结果.load(), text.c_str());
}
void SetStatusText(const AnsiText& text) {
  SetWindowTextA(TheMainWindowHandles().状态.load(), text.c_str());
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

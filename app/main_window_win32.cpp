// MainWindow: creation of the window and its controls, and the window's own handlers.
#include "app/main_window_win32.h"

#include <vector>

#include "app/font_a_win32.h"
#include "app/keyboard_navigation.h"
#include "app/main_window_handles_win32.h"
#include "app/main_window_texts.h"
#include "app/wide_text_win32.h"
#include "app/window_classes_win32.h"
#include "platform/win32_guards.h"

namespace {

constexpr wchar_t kMainWindowClassName[] = L"ZelvaneMainWindow";
constexpr int kCreatedWidth = 275;
constexpr int kCreatedHeight = 185;
// The created height of a drop-down list covers its selection field and the open list; this
// leaves the open list itself at least 160 pixels.
constexpr int kDirectionDropDownHeight = 200;

// Control ids, in creation order.
enum ControlId : int {
  kId超级链接框2 = 101,
  kId超级链接框1,
  kId进度条,
  kId选择框_谷歌,
  kId选择框_必应,
  kId标签3,
  kId组合框1,
  kId标签2,
  kId标签1,
  kId翻译结果,
  kId原文内容,
  kId编辑框1,
  kId状态,
};

// The file dialog component has no window; it only keeps its settings, which nothing opens.
struct FileDialogSettings {
  const char* filter;
};
[[maybe_unused]] constexpr FileDialogSettings k通用对话框1{main_window_text::kSoundFileFilter};

MainWindowHandler g_onCreated = nullptr;
MainWindowHandler g_onDestroying = nullptr;
HWND g_focusWhenDeactivated = nullptr;  // GUI thread only

constexpr DWORD kEditBase = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
constexpr DWORD kCheckBox =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER;

enum class ControlFont { Default, A };

struct ControlSpec {
  ControlId id;
  const wchar_t* className;
  const char* text;  // code page 936
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;
  ControlFont font;
};

// The controls in creation order; left and top are client coordinates.
const ControlSpec kControls[] = {
    {kId超级链接框2, kHyperlinkClassName, main_window_text::kZelvaneLink, WS_CHILD | WS_VISIBLE,
     0, 160, 104, 80, 24, ControlFont::A},
    {kId超级链接框1, kHyperlinkClassName, main_window_text::kKorvathLink, WS_CHILD | WS_VISIBLE,
     0, 32, 104, 80, 24, ControlFont::A},
    {kId进度条, L"STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 800, 320, 0, 0,
     ControlFont::Default},
    {kId选择框_谷歌, L"BUTTON", main_window_text::kGoogleBox, kCheckBox, 0, 1134, 465, 0, 0,
     ControlFont::Default},
    {kId选择框_必应, L"BUTTON", main_window_text::kMicrosoftBox, kCheckBox, 0, 1136, 431, 0, 9,
     ControlFont::Default},
    {kId标签3, kCaptionClassName, main_window_text::kDirectionCaption, WS_CHILD | WS_VISIBLE, 0,
     938, 652, 0, 0, ControlFont::Default},
    // For a drop-down list the created height is the height of the open list.
    {kId组合框1, L"COMBOBOX", "",
     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
         CBS_AUTOHSCROLL,
     0, 1004, 651, 0, kDirectionDropDownHeight, ControlFont::Default},
    {kId标签2, kCaptionClassName, main_window_text::kResultCaption, WS_CHILD | WS_VISIBLE, 0,
     904, 376, 0, 0, ControlFont::Default},
    {kId标签1, kCaptionClassName, main_window_text::kSourceCaption, WS_CHILD | WS_VISIBLE, 0,
     680, 376, 0, 0, ControlFont::Default},
    // The two hand-over boxes have no scroll bar: they lie outside the client area, at most
    // one pixel in one direction, where no bar can be seen or used, and under Wine a box with
    // one recomputes and redraws the bar on every text it takes, which costs milliseconds per
    // translated window (tests/bench/edit_box_settext_benchmark_win32.cpp).
    {kId翻译结果, L"EDIT", "", kEditBase | kMultiLine | WS_BORDER | ES_LEFT | ES_READONLY, 0, 904,
     400, 8, 0, ControlFont::Default},
    {kId原文内容, L"EDIT", "", kEditBase | kMultiLine | WS_BORDER | ES_LEFT, 0, 680, 399, 0, 1,
     ControlFont::Default},
    {kId编辑框1, L"EDIT", main_window_text::kDescription,
     kEditBase | kMultiLine | ES_CENTER | ES_READONLY, WS_EX_STATICEDGE, 16, 8, 240, 88,
     ControlFont::A},
    {kId状态, L"EDIT", main_window_text::kStatusAtStart,
     kEditBase | ES_AUTOHSCROLL | ES_CENTER | ES_READONLY, WS_EX_CLIENTEDGE, 16, 128, 240, 20,
     ControlFont::A},
};

HWND MainWindow() { return TheMainWindowHandles().mainWindow.load(); }

// The fixed focus order that Tab walks forward and Shift+Tab backward.
HWND FocusOrderControl(int position) {
  MainWindowHandles& handles = TheMainWindowHandles();
  switch (position) {
    case 0: return handles.状态.load();
    case 1: return handles.编辑框1.load();
    case 2: return handles.原文内容.load();
    case 3: return handles.翻译结果.load();
    case 4: return handles.组合框1.load();
    case 5: return handles.选择框_必应.load();
    case 6: return handles.选择框_谷歌.load();
    default: return nullptr;
  }
}
constexpr int kFocusOrderLength = 7;

bool CanTakeTabFocus(HWND control) {
  if (control == nullptr || !IsWindow(control) || !IsWindowEnabled(control)) return false;
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
  return (style & WS_VISIBLE) != 0 && (style & WS_TABSTOP) != 0;
}

void MoveFocus(bool backward) {
  const HWND focus = GetFocus();
  std::vector<bool> usable;
  int current = -1;
  for (int position = 0; position < kFocusOrderLength; ++position) {
    const HWND control = FocusOrderControl(position);
    usable.push_back(CanTakeTabFocus(control));
    if (control != nullptr && (focus == control || IsChild(control, focus))) current = position;
  }
  const int next = NextFocusPosition(usable, current, backward);
  if (next >= 0) SetFocus(FocusOrderControl(next));
}

void HandFocusOn() {
  HWND target = g_focusWhenDeactivated;
  if (target == nullptr || !IsWindow(target) || !IsChild(MainWindow(), target)) {
    target = TheMainWindowHandles().状态.load();  // the first focus
  }
  if (target != nullptr) SetFocus(target);
}

void SetCheck(HWND box, bool checked) {
  SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A single-line edit box is made at least one line of its font plus its edges tall.
void FitSingleLineHeight(HWND edit, HFONT font, int width, int height) {
  TEXTMETRICA metrics{};
  {
    const WindowDc dc(edit);
    if (!dc) return;
    const SelectedObject selected(dc.get(), font);
    if (GetTextMetricsA(dc.get(), &metrics) == FALSE) return;
  }
  const int minimum = metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
  if (height < minimum) {
    SetWindowPos(edit, nullptr, 0, 0, width, minimum,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void RememberHandle(ControlId id, HWND control) {
  MainWindowHandles& handles = TheMainWindowHandles();
  switch (id) {
    case kId状态: handles.状态.store(control); break;
    case kId编辑框1: handles.编辑框1.store(control); break;
    case kId原文内容: handles.原文内容.store(control); break;
    case kId翻译结果: handles.翻译结果.store(control); break;
    case kId选择框_谷歌: handles.选择框_谷歌.store(control); break;
    case kId选择框_必应: handles.选择框_必应.store(control); break;
    case kId组合框1: handles.组合框1.store(control); break;
    default: break;
  }
}

void FillDirectionList(HWND list) {
  for (const auto& item : main_window_text::kDirectionItems) {
    const std::wstring text = WideFrom936(item.text);
    const LRESULT index =
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) {
      SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), item.value);
    }
  }
  SendMessageA(list, CB_SETCURSEL, 0, 0);
}

bool CreateControls(HWND window, HINSTANCE instance) {
  const auto defaultFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const ControlSpec& spec : kControls) {
    HWND control = CreateWindowExW(spec.exStyle, spec.className, WideFrom936(spec.text).c_str(),
                                   spec.style, spec.left, spec.top, spec.width, spec.height, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                   instance, nullptr);
    if (control == nullptr) return false;
    const HFONT font = spec.font == ControlFont::A ? FontA() : defaultFont;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (lstrcmpiW(spec.className, L"EDIT") == 0) {
      SendMessageA(control, EM_LIMITTEXT, 0, 0);  // no limit of its own
      SendMessageA(control, EM_SETSEL, 0, 0);     // caret at the start
      if ((spec.style & ES_MULTILINE) == 0) {
        FitSingleLineHeight(control, font, spec.width, spec.height);
      }
    }
    RememberHandle(spec.id, control);
  }
  SetCheck(TheMainWindowHandles().选择框_谷歌.load(), true);
  SetCheck(TheMainWindowHandles().选择框_必应.load(), false);
  FillDirectionList(TheMainWindowHandles().组合框1.load());
  return true;
}

void SetIcons(HWND window, HINSTANCE instance) {
  const auto big = LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0);
  const auto small = LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0);
  if (big != nullptr) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small != nullptr) {
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
}

// Colours of the controls that do not draw black on white.
LRESULT OnControlColour(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                        HWND window) {
  MainWindowHandles& handles = TheMainWindowHandles();
  if (control == handles.翻译结果.load()) {  // read-only, yet drawn as an input box
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  if (control == handles.状态.load() || control == handles.编辑框1.load() ||
      control == handles.选择框_谷歌.load() || control == handles.选择框_必应.load()) {
    SetTextColor(dc, control == handles.状态.load() ? RGB(0, 128, 0) : RGB(0, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam) noexcept {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        const auto box = reinterpret_cast<HWND>(lParam);
        if (box != nullptr && box == TheMainWindowHandles().选择框_谷歌.load()) {
          OnGoogleCheckClicked();
          return 0;
        }
        if (box != nullptr && box == TheMainWindowHandles().选择框_必应.load()) {
          OnMicrosoftCheckClicked();
          return 0;
        }
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                             message, wParam, lParam, window);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) g_focusWhenDeactivated = focus;
      }
      break;  // the default handling focuses the window itself, which hands the focus on
    case WM_SETFOCUS:
      HandFocusOn();
      return 0;
    case WM_DESTROY:
      if (g_onDestroying != nullptr) g_onDestroying();
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClassName;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool CreateMainWindow(MainWindowHandler created, MainWindowHandler destroying) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  g_onCreated = created;
  g_onDestroying = destroying;
  g_focusWhenDeactivated = nullptr;
  if (!RegisterMainWindowClass(instance) || !RegisterChildWindowClasses(instance, FontA())) {
    return false;
  }
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kCreatedWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kCreatedHeight) / 2;
  HWND window = CreateWindowExW(0, kMainWindowClassName,
                                WideFrom936(main_window_text::kTitle).c_str(),
                                WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, left, top,
                                kCreatedWidth, kCreatedHeight, nullptr, nullptr, instance,
                                nullptr);
  if (window == nullptr) return false;
  TheMainWindowHandles().mainWindow.store(window);
  SetIcons(window, instance);
  if (!CreateControls(window, instance)) {
    DestroyWindow(window);
    return false;
  }
  if (g_onCreated != nullptr) g_onCreated();
  ShowWindow(window, SW_SHOW);
  return IsWindow(window) != FALSE;
}

bool HandleMainWindowKeyMessage(MSG* message) noexcept {
  if (message == nullptr || message->message != WM_KEYDOWN) return false;
  const HWND window = MainWindow();
  if (window == nullptr || message->hwnd == nullptr) return false;
  if (message->hwnd != window && !IsChild(window, message->hwnd)) return false;
  const ModifierKeys held{GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                          GetKeyState(VK_MENU) < 0};
  switch (ClassifyWindowKey(static_cast<int>(message->wParam), held)) {
    case WindowKeyCommand::Close:
      SendMessageA(window, WM_CLOSE, 0, 0);
      return true;
    case WindowKeyCommand::NextControl:
      MoveFocus(false);
      return true;
    case WindowKeyCommand::PreviousControl:
      MoveFocus(true);
      return true;
    case WindowKeyCommand::None:
      break;
  }
  return false;
}

void OnGoogleCheckClicked() {
  MainWindowHandles& handles = TheMainWindowHandles();
  SetCheck(handles.选择框_必应.load(), !IsChecked(handles.选择框_谷歌.load()));
}

void OnMicrosoftCheckClicked() {
  MainWindowHandles& handles = TheMainWindowHandles();
  SetCheck(handles.选择框_谷歌.load(), !IsChecked(handles.选择框_必应.load()));
}

// The translation pass on the real window system: thin adapters from the ports to user32,
// MainWindow's controls, the translation front and the keyboard subsystem.
#include "translate_pass/translate_pass_win32.h"

#include "app/main_window_controls.h"
#include "keyboard/keyboard_win32.h"
#include "services/translation_front_win32.h"
#include "translate_pass/child_window_list.h"
#include "translate_pass/refresh_desktop.h"
#include "translate_pass/translation_pass.h"
#include "translate_pass/window_text_win32.h"
#include "translate_pass/window_under_cursor.h"

namespace {

// Never destroyed: the exit clean-up may end the process while a pass still holds it.
ChildWindowList& TheChildWindowList() {
  static ChildWindowList* list = new ChildWindowList;
  return *list;
}

HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle AsHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// Empty when the handle is no window (or 0).
AnsiText ClassNameOf(HWND window) {
  if (window == nullptr) return AnsiText();
  char name[256] = {};
  const int length = GetClassNameA(window, name, static_cast<int>(sizeof name));
  return length > 0 ? AnsiText(name, static_cast<std::size_t>(length)) : AnsiText();
}

// Never destroyed: the exit clean-up may end the process while a pass still holds it.
OriginalTexts& TheOriginalTexts() {
  static OriginalTexts* originals = new OriginalTexts;
  return *originals;
}

class Win32WindowTree final : public WindowTree {
 public:
  bool CursorPosition(ScreenPoint& point) override {
    POINT p{};
    if (!GetCursorPos(&p)) return false;
    point = {p.x, p.y};
    return true;
  }
  WindowHandle WindowFromPoint(ScreenPoint point) override {
    return AsHandle(::WindowFromPoint(POINT{point.x, point.y}));
  }
  WindowRect WindowRectOf(WindowHandle window) override {
    RECT r{};
    GetWindowRect(AsHwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  WindowHandle ParentOf(WindowHandle window) override { return AsHandle(GetParent(AsHwnd(window))); }
  WindowHandle NextInZOrder(WindowHandle window) override {
    return AsHandle(GetWindow(AsHwnd(window), GW_HWNDNEXT));
  }
  bool IsVisible(WindowHandle window) override { return IsWindowVisible(AsHwnd(window)) != FALSE; }
};

class Win32DesktopKeys final : public DesktopKeys {
 public:
  WindowHandle FindShellDesktopWindow() override { return AsHandle(::FindShellDesktopWindow()); }
  void SendKeyDown(WindowHandle target, std::int32_t virtualKey) override {
    ::SendKeyDown(AsHwnd(target), virtualKey);
  }
  void SendKeyUp(WindowHandle target, std::int32_t virtualKey) override {
    ::SendKeyUp(AsHwnd(target), virtualKey);
  }
};

class Win32PassWindowSystem final : public PassWindowSystem {
 public:
  WindowHandle WindowUnderCursor() override {
    const HWND under = ::WindowUnderCursor();
    return under == GetDesktopWindow() ? 0 : AsHandle(under);
  }
  std::vector<WindowHandle> CollectChildWindows(WindowHandle parent) override {
    std::vector<HWND> children;
    ::CollectChildWindows(AsHwnd(parent), children);
    std::vector<WindowHandle> handles;
    handles.reserve(children.size());
    for (HWND child : children) handles.push_back(AsHandle(child));
    return handles;
  }
  std::optional<AnsiText> ReadWindowText(WindowHandle window) override {
    if (!IsWindow(AsHwnd(window))) return std::nullopt;
    return ::ReadWindowText(AsHwnd(window));
  }
  bool WriteWindowText(WindowHandle window, const AnsiText& text) override {
    // Wine's SetWindowTextA sends WM_SETTEXT across processes; a window that stopped
    // answering since it was read would hold the pass for ever.
    if (!WindowAnswers(AsHwnd(window))) return false;
    return SetWindowTextA(AsHwnd(window), text.c_str()) != FALSE;
  }
  WindowFacts FactsOf(WindowHandle window) override {
    WindowFacts facts;
    facts.className = ClassNameOf(AsHwnd(window));
    if (facts.className.empty()) return facts;
    facts.style = static_cast<std::uint32_t>(GetWindowLongPtrA(AsHwnd(window), GWL_STYLE));
    facts.parentClassName = ClassNameOf(GetParent(AsHwnd(window)));
    return facts;
  }
  bool IsOwnProcessWindow(WindowHandle window) override {
    DWORD process = 0;
    return GetWindowThreadProcessId(AsHwnd(window), &process) != 0 &&
           process == GetCurrentProcessId();
  }
  void InvalidateWindow(WindowHandle window) override {
    InvalidateRect(AsHwnd(window), nullptr, FALSE);
  }
  void PumpPendingMessages() override { ::PumpPendingMessages(); }
  void RefreshDesktop() override { ::RefreshDesktop(); }
};

class Win32ToolWindow final : public ToolWindow {
 public:
  WindowHandle MainWindowHandle() override { return AsHandle(::MainWindowHandle()); }
  WindowHandle StatusBoxHandle() override { return AsHandle(::StatusBoxHandle()); }
  WindowHandle DescriptionBoxHandle() override { return AsHandle(::DescriptionBoxHandle()); }
  void BeginTranslations(const std::vector<AnsiText>&) override {}
  void SetSourceText(const AnsiText& text) override { SetSourceBoxText(text); }
  void SetResultText(const AnsiText& text) override { SetResultBoxText(text); }
  AnsiText ReadResultText() override { return ReadResultBoxText(); }
  void TranslateSourceBox() override { ::TranslateSourceBox(); }
  void SetStatusText(const AnsiText& text) override { ::SetStatusText(text); }
  void UpdateMainWindow() override { UpdateWindow(::MainWindowHandle()); }
  bool StopRequested() override { return false; }
};

}  // namespace

void CreateChildWindowList() { TheChildWindowList().Create(); }
void ReleaseChildWindowList() { TheChildWindowList().Release(); }

HWND WindowUnderCursor() {
  Win32WindowTree tree;
  return AsHwnd(WindowUnderCursor(tree));
}

AnsiText ReadWindowText(HWND window) { return ReadWindowTextBounded(window); }

BOOL CALLBACK AppendChildWindow(HWND window, LPARAM) noexcept {
  try {
    TheChildWindowList().Append(AsHandle(window));
  } catch (...) {
    return FALSE;  // out of memory: stop the enumeration with what was collected
  }
  return TRUE;
}

std::int32_t CollectChildWindows(HWND parent, std::vector<HWND>& children) {
  const std::vector<WindowHandle> collected =
      TheChildWindowList().Collect([parent] { EnumChildWindows(parent, AppendChildWindow, 0); });
  std::vector<HWND> handed;
  handed.reserve(collected.size());
  for (WindowHandle window : collected) handed.push_back(AsHwnd(window));
  children.swap(handed);
  return static_cast<std::int32_t>(children.size());
}

HWND FindShellDesktopWindow() { return FindWindowA("Progman", "Program Manager"); }

void RefreshDesktop() {
  Win32DesktopKeys keys;
  RefreshDesktop(keys);
}

void TranslateWindowUnderCursor() {
  Win32PassWindowSystem windows;
  Win32ToolWindow tool;
  TranslateWindowUnderCursorIfIdle(windows, tool, TheOriginalTexts());
}

DWORD WINAPI TranslateWindowUnderCursorThread(LPVOID) noexcept {
  try {
    TranslateWindowUnderCursor();
  } catch (...) {
    // Out of memory in the middle of a pass: the pass ends, the tool goes on.
  }
  return 0;
}

void RestoreWindowUnderCursor() {
  Win32PassWindowSystem windows;
  Win32ToolWindow tool;
  RestoreWindowUnderCursorIfIdle(windows, tool, TheOriginalTexts());
}

DWORD WINAPI RestoreWindowUnderCursorThread(LPVOID) noexcept {
  try {
    RestoreWindowUnderCursor();
  } catch (...) {
    // Out of memory: the restore ends where it was, the tool goes on.
  }
  return 0;
}

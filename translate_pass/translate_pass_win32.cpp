// The translation pass on the real window system: thin adapters from the ports to user32 and
// the keyboard subsystem. The tool's own window comes from the caller.
#include "translate_pass/translate_pass_win32.h"

#include "keyboard/keyboard_win32.h"
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
  WindowHandle WindowUnderCursor() override { return AsHandle(::WindowUnderCursor()); }
  std::vector<WindowHandle> CollectChildWindows(WindowHandle parent) override {
    std::vector<HWND> children;
    ::CollectChildWindows(AsHwnd(parent), children);
    std::vector<WindowHandle> handles;
    handles.reserve(children.size());
    for (HWND child : children) handles.push_back(AsHandle(child));
    return handles;
  }
  AnsiText ReadWindowText(WindowHandle window) override { return ::ReadWindowText(AsHwnd(window)); }
  void WriteWindowText(WindowHandle window, const AnsiText& text) override {
    // Wine's SetWindowTextA sends WM_SETTEXT across processes; a window that stopped
    // answering since it was read would hold the pass for ever.
    if (WindowAnswers(AsHwnd(window))) SetWindowTextA(AsHwnd(window), text.c_str());
  }
  void InvalidateWindow(WindowHandle window) override {
    InvalidateRect(AsHwnd(window), nullptr, FALSE);
  }
  void PumpPendingMessages() override { ::PumpPendingMessages(); }
  void RefreshDesktop() override { ::RefreshDesktop(); }
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

void TranslateWindowUnderCursor(ToolWindow& tool) {
  Win32PassWindowSystem windows;
  TranslateWindowUnderCursorIfIdle(windows, tool);
}

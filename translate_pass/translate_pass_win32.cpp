// The translation pass on the real window system: thin adapters from the ports to user32 and
// the keyboard subsystem. The tool's own window comes from the caller.
#include "translate_pass/translate_pass_win32.h"

#include <set>
#include <string>

#include "keyboard/keyboard_win32.h"
#include "text/code_page_936.h"
#include "translate_pass/child_window_list.h"
#include "translate_pass/original_texts.h"
#include "translate_pass/pass_workers.h"
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

// What the passes wrote, for Shift+F2; never destroyed, for the same reason.
OriginalTexts& TheOriginalTexts() {
  static OriginalTexts* originals = new OriginalTexts;
  return *originals;
}

HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle AsHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

std::u16string ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return length > 0 ? std::u16string(reinterpret_cast<const char16_t*>(name),
                                     static_cast<std::size_t>(length))
                    : std::u16string();
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

// One pass's view of the window system. A thread that let one message go unanswered within
// the bound is not asked again in this pass: a hung program costs the bound once, not once
// per window it owns.
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
  std::optional<AnsiText> ReadWindowText(WindowHandle window) override {
    if (IsSilent(window)) return std::nullopt;
    WindowAnswer answer = WindowAnswer::kAnswered;
    std::optional<AnsiText> text = ReadWindowTextBounded(AsHwnd(window), &answer);
    Remember(window, answer);
    return text;
  }
  bool WriteWindowText(WindowHandle window, const AnsiText& text) override {
    if (IsSilent(window)) return false;
    WindowAnswer answer = WindowAnswer::kAnswered;
    const bool written = WriteWindowTextBounded(AsHwnd(window), text, &answer);
    Remember(window, answer);
    return written;
  }
  WindowFacts FactsOf(WindowHandle window) override {
    WindowFacts facts;
    const HWND hwnd = AsHwnd(window);
    if (!IsWindow(hwnd)) return facts;
    facts.className = cp936::FromUtf16Lossy(ClassNameOf(hwnd));
    facts.style = static_cast<std::uint32_t>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    if ((facts.style & WS_CHILD) != 0) {
      facts.parentClassName = cp936::FromUtf16Lossy(ClassNameOf(GetAncestor(hwnd, GA_PARENT)));
    }
    return facts;
  }
  bool IsOwnProcessWindow(WindowHandle window) override {
    return ::IsOwnProcessWindow(AsHwnd(window));
  }
  void InvalidateWindow(WindowHandle window) override {
    InvalidateRect(AsHwnd(window), nullptr, FALSE);
  }
  void PumpPendingMessages() override { ::PumpPendingMessages(); }
  void RefreshDesktop() override { ::RefreshDesktop(); }

 private:
  static DWORD ThreadOf(WindowHandle window) {
    return GetWindowThreadProcessId(AsHwnd(window), nullptr);
  }
  bool IsSilent(WindowHandle window) const {
    const DWORD thread = ThreadOf(window);
    return thread != 0 && silentThreads_.count(thread) != 0;
  }
  void Remember(WindowHandle window, WindowAnswer answer) {
    if (answer != WindowAnswer::kSilent) return;
    const DWORD thread = ThreadOf(window);
    if (thread != 0) silentThreads_.insert(thread);
  }
  std::set<DWORD> silentThreads_;
};


}  // namespace

void CreateChildWindowList() { TheChildWindowList().Create(); }
void ReleaseChildWindowList() { TheChildWindowList().Release(); }

bool IsDesktopWindow(HWND window) {
  if (window == nullptr) return false;
  if (window == GetDesktopWindow()) return true;
  // The shell draws the desktop's icons in a list view inside "Progman", or inside a
  // "WorkerW" window once the wallpaper has been animated; both are top-level windows.
  const HWND root = GetAncestor(window, GA_ROOT);
  if (root == nullptr) return false;
  const std::u16string rootClass = ClassNameOf(root);
  return rootClass == u"Progman" || rootClass == u"WorkerW";
}

bool IsOwnProcessWindow(HWND window) {
  DWORD processId = 0;
  return GetWindowThreadProcessId(window, &processId) != 0 &&
         processId == GetCurrentProcessId();
}

HWND WindowUnderCursor() {
  Win32WindowTree tree;
  const HWND window = AsHwnd(WindowUnderCursor(tree));
  return IsDesktopWindow(window) ? nullptr : window;
}

std::optional<AnsiText> ReadWindowText(HWND window) { return ReadWindowTextBounded(window); }

bool WriteWindowText(HWND window, const AnsiText& text) {
  return WriteWindowTextBounded(window, text);
}

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

HWND FindShellDesktopWindow() {
  const HWND desktop = FindWindowW(L"Progman", L"Program Manager");
  return desktop != nullptr && WindowAnswers(desktop) ? desktop : nullptr;
}

void RefreshDesktop() {
  Win32DesktopKeys keys;
  RefreshDesktop(keys);
}

bool StopPassesAndWait(DWORD waitMs) {
  PassWorkers& workers = ThePassWorkers();
  workers.RequestStop();
  const DWORD started = GetTickCount();
  for (;;) {
    if (workers.WaitUntilIdle(std::chrono::milliseconds(10))) return true;
    if (GetTickCount() - started >= waitMs) return false;
    // A pass sets the tool's own boxes by messages to this thread: serve them, or the pass
    // would wait on us while we wait on it.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

namespace {

// A worker of the tool's end: not started once the tool is closing, and counted while it runs.
template <typename Work>
void RunAsPassWorker(Work work) noexcept {
  try {
    PassWorkerScope worker(ThePassWorkers());
    if (worker.Entered()) work();
  } catch (...) {
    // Out of memory in the middle of a pass: the pass ends, the tool goes on.
  }
}

}  // namespace

void TranslateWindowUnderCursor(ToolWindow& tool) {
  RunAsPassWorker([&tool] {
    Win32PassWindowSystem windows;
    TranslateWindowUnderCursorIfIdle(windows, tool, TheOriginalTexts());
  });
}

void RestoreWindowUnderCursor(ToolWindow& tool) {
  RunAsPassWorker([&tool] {
    Win32PassWindowSystem windows;
    RestoreWindowUnderCursorIfIdle(windows, tool, TheOriginalTexts());
  });
}

bool PassStopRequested() { return ThePassWorkers().StopRequested(); }

// Hyperlinks and captions: small custom-drawn child windows.
#include "app/window_classes_win32.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

#include "app/hyperlink_rules.h"
#include "app/main_window_texts.h"
#include "app/wide_text_win32.h"
#include "platform/win32_guards.h"

namespace {

HFONT g_childFont = nullptr;

struct LinkState {
  bool hovered = false;
  bool opened = false;
};

// The window's own text as UTF-16: drawn as it is, with no code page in between.
std::wstring OwnText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void DrawCentredText(HWND window, HDC dc, COLORREF colour) {
  RECT client;
  GetClientRect(window, &client);
  const SelectedObject font(dc, g_childFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  const std::wstring text = OwnText(window);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

// The system's pointing hand, with the hot spot moved to (6, 1). Kept for the process's life.
HCURSOR LinkCursor() {
  static HCURSOR cursor = [] {
    HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    ICONINFO info{};
    if (hand == nullptr || !GetIconInfo(hand, &info)) return hand;
    // GetIconInfo hands over two bitmaps; they are freed when the copy has been made.
    const UniqueGdiObject mask(info.hbmMask);
    const UniqueGdiObject colour(info.hbmColor);
    ICONINFO copy = info;
    copy.fIcon = FALSE;
    copy.xHotspot = 6;
    copy.yHotspot = 1;
    HCURSOR moved = reinterpret_cast<HCURSOR>(CreateIconIndirect(&copy));
    return moved != nullptr ? moved : hand;
  }();
  return cursor;
}

struct ProcessHandles {
  PROCESS_INFORMATION info{};
  ~ProcessHandles() {
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  }
};

// Runs a command line shown normally, as WinExec with SW_SHOW does, but wide: a browser
// installed under a path with characters outside the system's ANSI code page still starts.
bool RunShown(std::u16string line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  ProcessHandles process;
  return CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(&line[0]), nullptr, nullptr, FALSE,
                        0, nullptr, nullptr, &startup, &process.info) != FALSE;
}

// Opens the link's page with the shell; falls back to the command registered for .htm files.
// Both ways are wide, so neither depends on the system's ANSI code page.
bool OpenLinkTarget(HWND window) {
  const std::wstring target = WideFrom936(main_window_text::kLinkTarget);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window, L"open", target.c_str(), nullptr, nullptr, SW_SHOW));
  if (result > 32) return true;
  wchar_t command[2048] = {};
  DWORD size = ARRAYSIZE(command);  // in characters
  if (AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L".htm", L"open", command, &size) !=
      S_OK) {
    return false;
  }
  const std::u16string line = HtmOpenCommandLine(
      std::u16string(reinterpret_cast<const char16_t*>(command)),
      cp936::ToUtf16(main_window_text::kLinkTarget));
  if (line.empty()) return false;
  return RunShown(line);
}

constexpr UINT_PTR kLeaveCheckTimer = 1;
constexpr UINT kLeaveCheckMs = 100;

bool IsInside(HWND window, POINT point) {
  RECT client;
  GetClientRect(window, &client);
  return PtInRect(&client, point) != FALSE;
}

LinkState* StateOf(HWND window) {
  return reinterpret_cast<LinkState*>(GetWindowLongPtrA(window, 0));
}

void SetHovered(HWND window, bool hovered) {
  LinkState* state = StateOf(window);
  if (state == nullptr || state->hovered == hovered) return;
  state->hovered = hovered;
  InvalidateRect(window, nullptr, TRUE);
}

LRESULT CALLBACK HyperlinkProc(HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) noexcept {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(new LinkState));
      break;
    case WM_NCDESTROY:
      delete StateOf(window);
      SetWindowLongPtrA(window, 0, 0);
      break;
    case WM_SETCURSOR:
      SetCursor(LinkCursor());
      return TRUE;
    case WM_MOUSEMOVE: {
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (IsInside(window, point)) {
        if (GetCapture() != window) {
          SetCapture(window);
          SetTimer(window, kLeaveCheckTimer, kLeaveCheckMs, nullptr);
        }
        SetCursor(LinkCursor());
        SetHovered(window, true);
      } else if (GetCapture() == window) {
        ReleaseCapture();  // WM_CAPTURECHANGED takes the hover away
      }
      return 0;
    }
    case WM_TIMER:
      // A jump of the pointer out of the program's windows may bring no mouse move under
      // every window system; the capture is then ended here.
      if (wParam == kLeaveCheckTimer) {
        POINT point{};
        GetCursorPos(&point);
        ScreenToClient(window, &point);
        if (!IsInside(window, point) && GetCapture() == window) ReleaseCapture();
        if (GetCapture() != window) KillTimer(window, kLeaveCheckTimer);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      KillTimer(window, kLeaveCheckTimer);
      SetHovered(window, false);
      return 0;
    case WM_LBUTTONDOWN: {
      LinkState* state = StateOf(window);
      if (OpenLinkTarget(window) && state != nullptr) {
        state->opened = true;
        InvalidateRect(window, nullptr, TRUE);
      }
      return 0;
    }
    case WM_PAINT: {
      const PaintDc dc(window);
      const LinkState* state = StateOf(window);
      const LinkColour colour =
          LinkTextColour(state != nullptr && state->hovered, state != nullptr && state->opened);
      DrawCentredText(window, dc.get(), RGB(colour.red, colour.green, colour.blue));
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK CaptionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_PAINT) {
    const PaintDc dc(window);
    DrawCentredText(window, dc.get(), GetSysColor(COLOR_BTNTEXT));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterOne(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int extraBytes) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = extraBytes;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterChildWindowClasses(HINSTANCE instance, HFONT font) {
  g_childFont = font;
  return RegisterOne(instance, kHyperlinkClassName, HyperlinkProc, sizeof(LinkState*)) &&
         RegisterOne(instance, kCaptionClassName, CaptionProc, 0);
}

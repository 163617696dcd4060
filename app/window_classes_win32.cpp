// Hyperlinks and captions: small custom-drawn child windows.
#include "app/window_classes_win32.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

#include "app/hyperlink_rules.h"
#include "app/main_window_texts.h"
#include "platform/win32_guards.h"

namespace {

HFONT g_childFont = nullptr;

struct LinkState {
  bool hovered = false;
  bool opened = false;
};

AnsiText OwnText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, buffer.data(), length + 1);
  return AnsiText(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void DrawCentredText(HWND window, HDC dc, COLORREF colour) {
  RECT client;
  GetClientRect(window, &client);
  const SelectedObject font(dc, g_childFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  const AnsiText text = OwnText(window);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client,
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

// Opens the link's page with the shell; falls back to the command registered for .htm files.
bool OpenLinkTarget(HWND window) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
      window, "open", main_window_text::kLinkTarget, nullptr, nullptr, SW_SHOW));
  if (result > 32) return true;
  char command[2048] = {};
  DWORD size = sizeof command;
  if (AssocQueryStringA(ASSOCF_NONE, ASSOCSTR_COMMAND, ".htm", "open", command, &size) != S_OK) {
    return false;
  }
  const AnsiText line = HtmOpenCommandLine(command, main_window_text::kLinkTarget);
  if (line.empty()) return false;
  return WinExec(line.c_str(), SW_SHOW) > 32;
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
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK CaptionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_PAINT) {
    const PaintDc dc(window);
    DrawCentredText(window, dc.get(), GetSysColor(COLOR_BTNTEXT));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterOne(HINSTANCE instance, const char* name, WNDPROC procedure, int extraBytes) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = extraBytes;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterChildWindowClasses(HINSTANCE instance, HFONT font) {
  g_childFont = font;
  return RegisterOne(instance, kHyperlinkClassName, HyperlinkProc, sizeof(LinkState*)) &&
         RegisterOne(instance, kCaptionClassName, CaptionProc, 0);
}

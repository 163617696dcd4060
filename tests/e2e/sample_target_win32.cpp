// sample_target: the foreign program the end-to-end test translates.
//
//   sample_target.exe STATE_FILE
//
// An English settings window with buttons, captions, check boxes inside a group box, a panel
// with children, texts the pass must skip, and one caption owned by a second thread that
// stops answering messages right after creating it, a Korean caption (created wide) whose
// text has no form in code page 936, and the user's own data (an editable document, a
// drop-down list's value, bare numbers) beside a read-only edit box used as a label. A stand-in shell desktop window (class "Progman", title
// "Program Manager") sits beside it. Every 100 ms the program writes STATE_FILE as JSON: each
// window's name and text (hex of its code page 936 bytes, and "wtext": hex of the UTF-16 it
// holds, little endian), the WM_SETTEXT messages its windows received, and the key messages
// its thread took.
#include <windows.h>

#include "../tools/hex_text.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct NamedWindow {
  const char* name;
  HWND handle;
};

std::vector<NamedWindow> g_windows;
std::vector<std::string> g_events;  // "settext NAME", "keydown VK CLASS", ...
std::string g_statePath;
HANDLE g_neverSet = nullptr;
HANDLE g_hungWindowMade = nullptr;

// Edit boxes and combo boxes keep their text in a buffer of their own, which only their
// message gives; they all belong to this thread, so asking them cannot hang.
bool KeepsItsOwnText(HWND window) {
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  return lstrcmpiA(cls, "Edit") == 0 || lstrcmpiA(cls, "ComboBox") == 0;
}

// Reads the stored text without a message, so the hung window can be read too.
std::wstring WideTextOf(HWND window) {
  wchar_t wide[4096] = {};
  const int length = KeepsItsOwnText(window) ? GetWindowTextW(window, wide, 4096)
                                             : InternalGetWindowText(window, wide, 4096);
  return std::wstring(wide, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string Utf16Bytes(const std::wstring& wide) {
  std::string bytes;
  for (wchar_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xff));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xff));
  }
  return bytes;
}

std::string TextOf(HWND window) {
  const std::wstring wide = WideTextOf(window);
  if (wide.empty()) return std::string();
  char bytes[8192] = {};
  const int size = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), bytes,
                                       sizeof bytes, nullptr, nullptr);
  return std::string(bytes, size > 0 ? size : 0);
}

const char* NameOf(HWND window) {
  for (const NamedWindow& w : g_windows)
    if (w.handle == window) return w.name;
  return "?";
}

BOOL CALLBACK AppendName(HWND window, LPARAM names) noexcept {
  auto& list = *reinterpret_cast<std::string*>(names);
  list += std::string(list.empty() ? "" : ",") + "\"" + NameOf(window) + "\"";
  return TRUE;
}

void WriteState() {
  std::string order;
  EnumChildWindows(g_windows.front().handle, AppendName, reinterpret_cast<LPARAM>(&order));
  std::string json = "{\"pid\":" + std::to_string(GetCurrentProcessId()) +
                     ",\"enumeration\":[" + order + "],\"windows\":[";
  for (std::size_t i = 0; i < g_windows.size(); ++i) {
    RECT r{};
    GetWindowRect(g_windows[i].handle, &r);
    char rect[96];
    std::snprintf(rect, sizeof rect, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    json += std::string(i ? "," : "") + "{\"name\":\"" + g_windows[i].name + "\",\"hwnd\":" +
            std::to_string(reinterpret_cast<std::uintptr_t>(g_windows[i].handle)) +
            ",\"rect\":" + rect + ",\"text\":\"" + Hex(TextOf(g_windows[i].handle)) +
            "\",\"wtext\":\"" + Hex(Utf16Bytes(WideTextOf(g_windows[i].handle))) + "\"}";
  }
  json += "],\"events\":[";
  for (std::size_t i = 0; i < g_events.size(); ++i)
    json += std::string(i ? "," : "") + "\"" + g_events[i] + "\"";
  json += "]}";
  const std::string temp = g_statePath + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "wb")) {
    std::fwrite(json.data(), 1, json.size(), f);
    std::fclose(f);
    MoveFileExA(temp.c_str(), g_statePath.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

LRESULT CALLBACK RecordSentMessages(int code, WPARAM wParam, LPARAM lParam) noexcept {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SETTEXT)
    g_events.push_back(std::string("settext ") + NameOf(sent->hwnd));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void RecordKey(const MSG& msg) {
  const char* kind = msg.message == WM_KEYDOWN      ? "keydown"
                     : msg.message == WM_KEYUP      ? "keyup"
                     : msg.message == WM_SYSKEYDOWN ? "keydown"
                     : msg.message == WM_SYSKEYUP   ? "keyup"
                                                    : nullptr;
  if (kind) g_events.push_back(std::string(kind) + " " + std::to_string(msg.wParam) + " " + NameOf(msg.hwnd));
}

LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_TIMER) {
    WriteState();
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND Child(const char* name, const char* cls, const char* text, DWORD style, int x, int y, int w,
           int h, HWND parent) {
  HWND window = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  g_windows.push_back({name, window});
  return window;
}

DWORD WINAPI HungOwnerThread(LPVOID parent) noexcept {
  Child("hung", "STATIC", "Frozen label", 0, 280, 215, 200, 20, static_cast<HWND>(parent));
  SetEvent(g_hungWindowMade);
  // From here on this thread answers no message: its window is the hung one.
  WaitForSingleObject(g_neverSet, INFINITE);
  return 0;
}

void RegisterSampleClass(const char* name, HBRUSH background) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SampleWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_statePath = argv[1];
  g_neverSet = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  g_hungWindowMade = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  RegisterSampleClass("ZtSampleTarget", reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  RegisterSampleClass("ZtSamplePanel", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  RegisterSampleClass("Progman", reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1));

  HWND main = CreateWindowExA(0, "ZtSampleTarget", "Sample Settings",
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 420, 120, 540, 440,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  g_windows.push_back({"caption", main});
  Child("open", "BUTTON", "Open", BS_PUSHBUTTON, 20, 20, 100, 28, main);
  Child("save", "BUTTON", "Save As", BS_PUSHBUTTON, 130, 20, 100, 28, main);
  Child("file", "STATIC", "File name:", 0, 20, 60, 220, 20, main);
  HWND group = Child("group", "BUTTON", "Options", BS_GROUPBOX, 20, 90, 240, 110, main);
  Child("hidden", "BUTTON", "Show hidden files", BS_AUTOCHECKBOX, 10, 22, 220, 24, group);
  Child("confirm", "BUTTON", "Confirm on exit", BS_AUTOCHECKBOX, 10, 52, 220, 24, group);
  HWND panel = Child("panel", "ZtSamplePanel", "Details", WS_BORDER, 280, 90, 230, 110, main);
  Child("colour", "STATIC", "Colour", 0, 10, 10, 200, 20, panel);
  Child("apply", "BUTTON", "Apply", BS_PUSHBUTTON, 10, 40, 100, 26, panel);
  Child("queding", "STATIC", "\xC8\xB7\xB6\xA8 to continue", 0, 20, 215, 220, 20, main);  // 确定
  Child("okqueding", "BUTTON", "OK\xC8\xB7\xB6\xA8", BS_PUSHBUTTON, 20, 245, 120, 28, main);
  Child("dian", "STATIC", "\xD8\xBC marker", 0, 20, 285, 220, 20, main);  // 丶
  Child("empty", "STATIC", "", 0, 20, 315, 220, 20, main);
  Child("spaces", "STATIC", "   ", 0, 20, 345, 220, 20, main);
  // 한국어 설정: no character of it has a GBK form, so no ANSI call can carry it.
  HWND korean = CreateWindowExW(0, L"STATIC", L"\uD55C\uAD6D\uC5B4 \uC124\uC815",
                                WS_CHILD | WS_VISIBLE, 280, 245, 220, 20, main, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  g_windows.push_back({"korean", korean});
  // The user's own data and live values, which must never be sent nor written: a document in
  // an editable box, the current value of a drop-down list, bare numbers. A read-only edit box
  // is a label and is translated.
  Child("document", "EDIT", "Dear Anna, my bank PIN is in the drawer.",
        ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, 280, 275, 230, 40, main);
  HWND choice = Child("choice", "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 280, 325, 110, 120,
                      main);
  SendMessageA(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Red"));
  SendMessageA(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Green"));
  SendMessageA(choice, CB_SETCURSEL, 0, 0);
  Child("counter", "STATIC", "471", 0, 400, 325, 50, 20, main);
  Child("percent", "STATIC", "100%", 0, 455, 325, 50, 20, main);
  Child("readonly", "EDIT", "Read-only note", ES_READONLY | WS_BORDER, 280, 355, 230, 22, main);

  HWND desktop = CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager",
                                 WS_POPUP | WS_VISIBLE | WS_BORDER, 1100, 680, 160, 90, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  g_windows.push_back({"progman", desktop});

  ShowWindow(main, SW_SHOWNORMAL);
  UpdateWindow(main);
  SetWindowsHookExA(WH_CALLWNDPROC, RecordSentMessages, nullptr, GetCurrentThreadId());
  HANDLE hung = CreateThread(nullptr, 0, HungOwnerThread, main, 0, nullptr);
  if (hung) CloseHandle(hung);
  // The child's creation sends WM_PARENTNOTIFY to this thread: keep pumping while waiting.
  const DWORD giveUp = GetTickCount() + 5000;
  while (GetTickCount() < giveUp &&
         MsgWaitForMultipleObjects(1, &g_hungWindowMade, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG pending;
    while (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&pending);
  }
  SetTimer(main, 1, 100, nullptr);
  WriteState();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    RecordKey(msg);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

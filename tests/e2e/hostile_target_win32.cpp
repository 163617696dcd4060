// hostile_target: a foreign program whose windows misbehave the way real ones can, for the
// end-to-end test of the F2 pass.
//
//   hostile_target.exe STATE_FILE
//
// One small top-level frame per case, each holding one child window of the class
// "ZtHostile". Every hostile child lives on a thread of its own, so a child that blocks holds
// only its own thread; the frames, the "normal" frame and the state writer stay on the main
// thread. The children keep their text in the program (not in the window system) and answer
// WM_GETTEXTLENGTH, WM_GETTEXT and WM_SETTEXT themselves:
//
//   short_length   "Open the file now", reports a length of 4
//   long_length    "Save", reports 100000
//   huge_length    "Close", reports 0x7FFFFFFF
//   text_1mb       1,000,000 letters
//   text_16mb      16 MiB letters
//   slow_gettext   "Help", answers WM_GETTEXT only after 30 s
//   block_settext  "Exit", takes WM_SETTEXT only after 30 s
//   never_settext  "Cancel", never returns from WM_SETTEXT
//   vanish         "Yes", destroys itself right after it was read
//   korean         "확인 OK", a character with no GBK form
//   huge_reply     "Apply" (the test makes the service answer it with megabytes)
//   normal         "Open" in a plain button: the window a later F2 must still translate
//
// No shell desktop window exists here. Every 100 ms the program writes STATE_FILE as JSON:
// per case its frame's rectangle and caption, and its child's text length, whether the text
// is still the initial one, the text (hex of its code page 936 bytes, when short), whether
// the child still exists and the messages it took.
#include <windows.h>

#include "../tools/hex_text.h"

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

enum class Behaviour {
  kShortLength,
  kLongLength,
  kHugeLength,
  kPlain,
  kSlowGetText,
  kBlockSetText,
  kNeverSetText,
  kVanish,
};

struct Case {
  Case(const char* caseName, Behaviour how, std::wstring text)
      : name(caseName), behaviour(how), initial(std::move(text)) {}
  const char* name;
  Behaviour behaviour;
  std::wstring initial;
  // Filled at run time.
  HWND frame = nullptr;
  HWND child = nullptr;
  std::wstring text;  // guarded by g_lock
  bool gone = false;
  int lengthQueries = 0, reads = 0, writes = 0;
};

std::mutex g_lock;
std::vector<Case> g_cases;
std::string g_statePath;
HANDLE g_neverSet = nullptr;
constexpr UINT kVanishNow = WM_APP + 1;
constexpr DWORD kStallMs = 30000;

void WriteState();

Case* CaseOf(HWND child) {
  for (Case& c : g_cases)
    if (c.child == child) return &c;
  return nullptr;
}

std::string Gbk(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                        nullptr, nullptr);
  return bytes;
}

LRESULT CALLBACK HostileProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  Case* c = CaseOf(window);
  if (c == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_GETTEXTLENGTH: {
      std::lock_guard<std::mutex> lock(g_lock);
      ++c->lengthQueries;
      switch (c->behaviour) {
        case Behaviour::kShortLength: return 4;
        case Behaviour::kLongLength: return 100000;
        case Behaviour::kHugeLength: return 0x7FFFFFFF;
        default: return static_cast<LRESULT>(c->text.size());
      }
    }
    case WM_GETTEXT: {
      if (c->behaviour == Behaviour::kSlowGetText) Sleep(kStallMs);
      std::lock_guard<std::mutex> lock(g_lock);
      ++c->reads;
      auto* buffer = reinterpret_cast<wchar_t*>(lParam);
      if (buffer == nullptr || wParam == 0) return 0;
      const std::size_t copied = std::min<std::size_t>(c->text.size(), wParam - 1);
      c->text.copy(buffer, copied);
      buffer[copied] = L'\0';
      if (c->behaviour == Behaviour::kVanish) PostMessageW(window, kVanishNow, 0, 0);
      return static_cast<LRESULT>(copied);
    }
    case WM_SETTEXT: {
      if (c->behaviour == Behaviour::kBlockSetText) Sleep(kStallMs);
      if (c->behaviour == Behaviour::kNeverSetText) WaitForSingleObject(g_neverSet, INFINITE);
      std::lock_guard<std::mutex> lock(g_lock);
      ++c->writes;
      c->text = lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"";
      InvalidateRect(window, nullptr, TRUE);
      return TRUE;
    }
    case kVanishNow:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY: {
      std::lock_guard<std::mutex> lock(g_lock);
      c->gone = true;
      PostQuitMessage(0);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      std::wstring shown;
      {
        std::lock_guard<std::mutex> lock(g_lock);
        shown = c->text.substr(0, 40);
      }
      TextOutW(dc, 2, 2, shown.c_str(), static_cast<int>(shown.size()));
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_TIMER) {
    WriteState();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::string RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  char text[96];
  std::snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string CaptionOf(HWND window) {
  wchar_t wide[512] = {};
  const int length = InternalGetWindowText(window, wide, 512);
  return Gbk(std::wstring(wide, length > 0 ? static_cast<std::size_t>(length) : 0));
}

// The child of the "normal" case is a plain button: its text is the window system's own.
std::wstring NormalTextOf(HWND window) {
  wchar_t wide[512] = {};
  const int length = InternalGetWindowText(window, wide, 512);
  return std::wstring(wide, length > 0 ? static_cast<std::size_t>(length) : 0);
}

DWORD WINAPI ChildThread(LPVOID param) noexcept {
  auto* c = static_cast<Case*>(param);
  HWND child = CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"ZtHostile", L"",
                               WS_CHILD | WS_VISIBLE | WS_BORDER, 8, 8, 180, 28, c->frame, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  {
    std::lock_guard<std::mutex> lock(g_lock);
    c->child = child;
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

void RegisterClasses() {
  WNDCLASSW wc{};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpfnWndProc = HostileProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"ZtHostile";
  RegisterClassW(&wc);
  wc.lpfnWndProc = FrameProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ZtHostileFrame";
  RegisterClassW(&wc);
}

void WriteState() {
  std::string json = "{\"pid\":" + std::to_string(GetCurrentProcessId()) + ",\"cases\":[";
  for (std::size_t i = 0; i < g_cases.size(); ++i) {
    Case& c = g_cases[i];
    std::wstring text;
    bool gone;
    const bool normal = std::strcmp(c.name, "normal") == 0;
    int lengthQueries, reads, writes;
    {
      std::lock_guard<std::mutex> lock(g_lock);
      text = c.text;
      gone = c.gone;
      lengthQueries = c.lengthQueries;
      reads = c.reads;
      writes = c.writes;
    }
    if (normal) {
      text = NormalTextOf(c.child);
      gone = IsWindow(c.child) == FALSE;
    }
    json += std::string(i ? "," : "") + "{\"name\":\"" + c.name + "\",\"frame\":" +
            std::to_string(reinterpret_cast<std::uintptr_t>(c.frame)) + ",\"rect\":" +
            RectOf(c.frame) + ",\"caption\":\"" + Hex(CaptionOf(c.frame)) + "\",\"length\":" +
            std::to_string(text.size()) + ",\"intact\":" + (text == c.initial ? "true" : "false") +
            ",\"text\":\"" + (text.size() <= 4096 ? Hex(Gbk(text)) : std::string()) +
            "\",\"gone\":" + (gone ? "true" : "false") + ",\"length_queries\":" +
            std::to_string(lengthQueries) + ",\"reads\":" + std::to_string(reads) +
            ",\"writes\":" + std::to_string(writes) + "}";
  }
  json += "]}";
  const std::string temp = g_statePath + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "wb")) {
    std::fwrite(json.data(), 1, json.size(), f);
    std::fclose(f);
    MoveFileExA(temp.c_str(), g_statePath.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_statePath = argv[1];
  g_neverSet = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  RegisterClasses();
  g_cases = {
      {"short_length", Behaviour::kShortLength, L"Open the file now"},
      {"long_length", Behaviour::kLongLength, L"Save"},
      {"huge_length", Behaviour::kHugeLength, L"Close"},
      {"text_1mb", Behaviour::kPlain, std::wstring(1000000, L'A')},
      {"text_16mb", Behaviour::kPlain, std::wstring(16u << 20, L'B')},
      {"slow_gettext", Behaviour::kSlowGetText, L"Help"},
      {"block_settext", Behaviour::kBlockSetText, L"Exit"},
      {"never_settext", Behaviour::kNeverSetText, L"Cancel"},
      {"vanish", Behaviour::kVanish, L"Yes"},
      {"korean", Behaviour::kPlain, L"\xD655\xC778 OK"},  // 확인 OK
      {"huge_reply", Behaviour::kPlain, L"Apply"},
      {"normal", Behaviour::kPlain, L"Open"},
  };
  // Two rows of frames above and below the middle of the screen, where the tool's window sits.
  constexpr int kWidth = 205, kHeight = 250, kPerRow = 6;
  for (std::size_t i = 0; i < g_cases.size(); ++i) {
    Case& c = g_cases[i];
    c.text = c.initial;
    const int column = static_cast<int>(i) % kPerRow, row = static_cast<int>(i) / kPerRow;
    const std::wstring caption = L"Case " + std::wstring(c.name, c.name + std::strlen(c.name));
    c.frame = CreateWindowExW(0, L"ZtHostileFrame", caption.c_str(),
                              WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 8 + column * (kWidth + 8),
                              row == 0 ? 20 : 500, kWidth, kHeight, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  for (Case& c : g_cases) {
    if (std::strcmp(c.name, "normal") == 0) {
      c.child = CreateWindowExW(0, L"BUTTON", c.initial.c_str(), WS_CHILD | WS_VISIBLE, 8, 8, 180,
                                28, c.frame, nullptr, GetModuleHandleW(nullptr), nullptr);
      continue;
    }
    HANDLE thread = CreateThread(nullptr, 0, ChildThread, &c, 0, nullptr);
    if (thread) CloseHandle(thread);
  }
  // Wait (pumping) until every child exists.
  for (DWORD giveUp = GetTickCount() + 10000; GetTickCount() < giveUp;) {
    bool all = true;
    {
      std::lock_guard<std::mutex> lock(g_lock);
      for (const Case& c : g_cases) all = all && c.child != nullptr;
    }
    if (all) break;
    MSG pending;
    while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&pending);
    Sleep(10);
  }
  SetTimer(g_cases.front().frame, 1, 100, nullptr);
  WriteState();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

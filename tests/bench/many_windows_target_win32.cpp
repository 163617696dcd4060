// many_windows_target: a foreign program with many labelled controls, for the pass benchmark.
//
//   many_windows_target.exe N STATE_FILE
//
// One top-level window ("Many Windows") with N child controls, statics and buttons in turn,
// each with its own English text ("Item 0001 static", "Item 0002 button", ...), laid out in a
// grid that runs on below the client area as a long list in a scrolling parent would. The top
// strip of the client area (40 pixels) holds no control: the mouse rests there for F2. Every
// 100 ms the program writes STATE_FILE as JSON: its process id, the window's rectangle and the
// arrival time (ms since the start, from the performance counter) of every WM_SETTEXT any of
// its windows received.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string g_statePath;
std::vector<double> g_setTextTimes;  // ms
LARGE_INTEGER g_start{};
LARGE_INTEGER g_frequency{};
HWND g_main = nullptr;

double NowMs() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - g_start.QuadPart) /
         static_cast<double>(g_frequency.QuadPart);
}

void WriteState() {
  RECT r{};
  GetWindowRect(g_main, &r);
  std::string json = "{\"pid\":" + std::to_string(GetCurrentProcessId()) + ",\"rect\":[" +
                     std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                     std::to_string(r.right) + "," + std::to_string(r.bottom) + "],\"settext\":[";
  char number[32];
  for (std::size_t i = 0; i < g_setTextTimes.size(); ++i) {
    std::snprintf(number, sizeof number, "%s%.3f", i ? "," : "", g_setTextTimes[i]);
    json += number;
  }
  json += "]}";
  const std::string temp = g_statePath + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "wb")) {
    std::fwrite(json.data(), 1, json.size(), f);
    std::fclose(f);
    MoveFileExA(temp.c_str(), g_statePath.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

LRESULT CALLBACK RecordSetText(int code, WPARAM wParam, LPARAM lParam) noexcept {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SETTEXT) g_setTextTimes.push_back(NowMs());
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const int count = std::atoi(argv[1]);
  g_statePath = argv[2];
  QueryPerformanceFrequency(&g_frequency);
  QueryPerformanceCounter(&g_start);

  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "ZtManyWindows";
  RegisterClassA(&wc);
  g_main = CreateWindowExA(0, "ZtManyWindows", "Many Windows",
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 320, 20,
                           940, 760, nullptr, nullptr, wc.hInstance, nullptr);
  constexpr int kColumns = 6, kWidth = 150, kHeight = 20;
  for (int i = 0; i < count; ++i) {
    const bool button = i % 2 == 1;
    char text[64];
    std::snprintf(text, sizeof text, "Item %04d %s", i + 1, button ? "button" : "static");
    CreateWindowExA(0, button ? "BUTTON" : "STATIC", text,
                    WS_CHILD | WS_VISIBLE | (button ? BS_PUSHBUTTON : 0),
                    5 + (i % kColumns) * (kWidth + 4), 40 + (i / kColumns) * (kHeight + 2),
                    kWidth, kHeight, g_main, nullptr, wc.hInstance, nullptr);
  }
  ShowWindow(g_main, SW_SHOWNORMAL);
  UpdateWindow(g_main);
  SetWindowsHookExA(WH_CALLWNDPROC, RecordSetText, nullptr, GetCurrentThreadId());
  SetTimer(g_main, 1, 100, nullptr);
  WriteState();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

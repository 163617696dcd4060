// A stand-in for the program's GUI thread: registers F2 the way the program does (a new
// thread per firing), F3 as a synchronous hotkey and F4 as a release-triggered one, runs a
// message loop and writes one line per event to the file named by its argument. A driver
// presses the keys from outside and reads the file; it steers the probe with two files next
// to it: "<file>.release" runs the exit clean-up, "<file>.quit" ends the loop.
#include <windows.h>

#include <cstdio>
#include <string>

#include "keyboard/keyboard_win32.h"

namespace {

std::string g_outPath;
DWORD g_guiThread = 0;
CRITICAL_SECTION g_writeLock;
bool g_released = false;

void WriteLine(const std::string& line) {
  EnterCriticalSection(&g_writeLock);
  if (FILE* file = std::fopen(g_outPath.c_str(), "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
  LeaveCriticalSection(&g_writeLock);
}

const char* ThreadName() { return GetCurrentThreadId() == g_guiThread ? "gui" : "worker"; }

DWORD WINAPI OnF2(LPVOID parameter) noexcept {
  WriteLine("fire F2 id=" + std::to_string(reinterpret_cast<INT_PTR>(parameter)) +
            " thread=" + ThreadName());
  return 0;
}

LRESULT CALLBACK OnF3(HWND window, UINT message, WPARAM, LPARAM) noexcept {
  WriteLine("fire F3 id=" + std::to_string(reinterpret_cast<INT_PTR>(window)) +
            " message=" + std::to_string(message) + " thread=" + ThreadName());
  return 0;
}

LRESULT CALLBACK OnF4Released(HWND window, UINT, WPARAM, LPARAM) noexcept {
  WriteLine("fire F4up id=" + std::to_string(reinterpret_cast<INT_PTR>(window)) +
            " thread=" + ThreadName());
  return 0;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CALLBACK CheckCommands(HWND, UINT, UINT_PTR, DWORD) noexcept {
  if (!g_released && FileExists(g_outPath + ".release")) {
    ReleaseHotkeyRegistry();
    g_released = true;
    WriteLine("released");
  }
  if (FileExists(g_outPath + ".quit")) PostQuitMessage(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_outPath = argv[1];
  g_guiThread = GetCurrentThreadId();
  InitializeCriticalSection(&g_writeLock);

  HWND window = CreateWindowExA(0, "STATIC", "hotkey probe", WS_OVERLAPPED | WS_VISIBLE, 900,
                                600, 200, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);

  CreateHotkeyRegistry();
  const std::int32_t f2 = RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&OnF2), VK_F2);
  const std::int32_t f3 =
      RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&OnF3), VK_F3, 0, 0, 0, 1);
  const std::int32_t f4 =
      RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&OnF4Released), -VK_F4, 0, 0, 0, 1);
  SetTimer(nullptr, 0, 50, &CheckCommands);
  WriteLine("ready F2=" + std::to_string(f2) + " F3=" + std::to_string(f3) +
            " F4=" + std::to_string(f4));

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  WriteLine("quit");
  if (window != nullptr) DestroyWindow(window);
  return 0;
}

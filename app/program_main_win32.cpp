#include "app/program_main_win32.h"

#include <windows.h>

#include "app/exit_cleanup_list.h"
#include "app/main_window_controls.h"
#include "app/main_window_texts.h"
#include "app/main_window_win32.h"
#include "app/wide_text_win32.h"
#include "keyboard/keyboard_win32.h"
#include "translate_pass/translate_pass_win32.h"

namespace {

constexpr int kShownWidth = 274;
constexpr int kShownHeight = 184;
constexpr std::int32_t kVirtualKeyF2 = 113;

// GUI thread only, like everything that runs it.
ExitCleanupList& TheExitCleanupList() {
  static auto* list = new ExitCleanupList;
  return *list;
}

bool PreTranslateMainWindowKeys(MSG* message) { return HandleMainWindowKeyMessage(message); }

}  // namespace

void ProgramMain() {
  CreateHotkeyRegistry();
  CreateChildWindowList();
  TheExitCleanupList().Register(&ExitCleanup);
  WriteTmpStartSignal();
  SetMessagePreTranslator(&PreTranslateMainWindowKeys);
  if (!CreateMainWindow(&OnMainWindowCreated, &OnMainWindowDestroying)) {
    MessageBoxW(nullptr, WideFrom936(main_window_text::kCreateFailed).c_str(),
                WideFrom936(main_window_text::kTitle).c_str(), MB_OK | MB_ICONERROR);
    ExitProcess(static_cast<UINT>(-1));
  }
  MSG message;
  // Thread messages (hwnd 0) are dispatched as well: the hotkey poll timer has no window.
  // The wide loop hands typed characters to the wide windows as they are, with no round trip
  // through the system's ANSI code page.
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslateApplicationMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  EndProgram(0);
}

void OnMainWindowCreated() {
  RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&TranslateWindowUnderCursorThread),
                       kVirtualKeyF2);
  HWND window = MainWindowHandle();
  RECT frame{};
  GetWindowRect(window, &frame);
  const UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(window, nullptr, 0, 0, kShownWidth, frame.bottom - frame.top, keep);
  SetWindowPos(window, nullptr, 0, 0, kShownWidth, kShownHeight, keep);
}

void OnMainWindowDestroying() { EndProgram(0); }

void EndProgram(std::int32_t exitCode) {
  TheExitCleanupList().RunAll();
  ExitProcess(static_cast<UINT>(exitCode));
}

// Running passes are not stopped: the child-window list guards its own release, the hotkey
// registry is only touched on this thread, and the window, its controls, fonts and handle
// store are never released, so a pass still running only meets live objects or dead handles
// until ExitProcess ends it.
void ExitCleanup() {
  ReleaseHotkeyRegistry();
  ReleaseChildWindowList();
}

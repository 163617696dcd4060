#include "app/program_main_win32.h"

#include <windows.h>

#include "app/exit_cleanup_list.h"
#include "app/main_window_controls.h"
#include "app/main_window_texts.h"
#include "app/main_window_win32.h"
#include "app/tool_window_win32.h"
#include "app/wide_text_win32.h"
#include "keyboard/hotkey_registry.h"
#include "keyboard/keyboard_win32.h"
#include "translate_pass/translate_pass_win32.h"

namespace {

constexpr int kShownWidth = 274;
constexpr int kShownHeight = 184;
constexpr std::int32_t kVirtualKeyF2 = 113;
// How long the tool's end waits for a running pass to stop before it ends the process anyway.
constexpr DWORD kPassStopWaitMs = 1000;

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
  RegisterPolledHotkey(reinterpret_cast<HotkeyCallback>(&RestoreWindowUnderCursorThread),
                       kVirtualKeyF2, kHotkeyShift);
  HWND window = MainWindowHandle();
  RECT frame{};
  GetWindowRect(window, &frame);
  const UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(window, nullptr, 0, 0, kShownWidth, frame.bottom - frame.top, keep);
  SetWindowPos(window, nullptr, 0, 0, kShownWidth, kShownHeight, keep);
}

void OnMainWindowDestroying() { EndProgram(0); }

void EndProgram(std::int32_t exitCode) {
  // A pass still running is asked to stop first: it writes nothing more into other programs.
  const bool passesEnded = StopPassesAndWait(kPassStopWaitMs);
  TheExitCleanupList().RunAll();
  if (passesEnded) ExitProcess(static_cast<UINT>(exitCode));
  // A pass that did not end in time may be inside COM, WinHTTP or the loader; ExitProcess
  // would run every DLL's detach code under it, which can wait for a lock that pass holds,
  // for ever. Ending the process at once releases nothing under it and cannot hang.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
  ExitProcess(static_cast<UINT>(exitCode));  // not reached
}

// The lists are released after the running passes were asked to stop and waited for (a
// bounded time): the child-window list guards its own release, the hotkey registry is only
// touched on this thread, and the window, its controls, fonts and handle store are never
// released, so a pass that outlived the wait only meets live objects or dead handles until
// the process ends.
void ExitCleanup() {
  ReleaseHotkeyRegistry();
  ReleaseChildWindowList();
}

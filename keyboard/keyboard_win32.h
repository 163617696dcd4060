// What the rest of the program uses of the keyboard subsystem on Windows.
#pragma once

#include <windows.h>

#include <cstdint>

// A routine address of either shape: a thread start routine (call mode 0) or a window
// procedure (any other call mode). void(*)() converts to and from both without a warning.
using HotkeyCallback = void (*)();

// The process-wide hotkey registry: created empty at start-up, records released at exit.
void CreateHotkeyRegistry();
void ReleaseHotkeyRegistry();

// Returns the registration's id (1000001, ...) or 0 when the key code is refused (no key in
// the low 8 bits of the key code or of a nonzero second key, or the registry was released).
std::int32_t RegisterPolledHotkey(HotkeyCallback callback, std::int32_t keyCode,
                                  std::int32_t modifierMask = 0, std::int32_t secondKey = 0,
                                  std::int32_t intervalMs = 0, std::int32_t callMode = 0);

// Synthetic key events, each paced by 50 ms waits that keep pumping messages.
void SendKeyDown(HWND targetWindow, std::int32_t virtualKey, std::int32_t extended = 0);
void SendKeyUp(HWND targetWindow, std::int32_t virtualKey, std::int32_t extended = 0);

// Waits `amount` units (0 ms, 1 µs, 2 s, 3 min, 4 h, 5 days, other: ms per unit),
// dispatching the calling thread's messages meanwhile.
void PumpingDelay(std::int32_t amount, std::int32_t unit = 0);

// Dispatches the calling thread's waiting messages until the queue is empty or WM_QUIT is next.
void PumpPendingMessages();

// The application's message pre-translation step (the main window's Esc / Tab handling).
// It returns true when it consumed the message. The main loop and PumpPendingMessages run it.
using MessagePreTranslator = bool (*)(MSG* message);
void SetMessagePreTranslator(MessagePreTranslator preTranslator);
bool PreTranslateApplicationMessage(MSG* message);

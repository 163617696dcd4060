// The Win32 side of the hotkey registry, beyond what the program uses (keyboard_win32.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "keyboard/hotkey_registry.h"

// One tick over the real keyboard. Only the poll timer calls it.
void PollHotkeys();

// The procedure of the window-less poll timer; it ignores its arguments.
void CALLBACK HotkeyTimerProc(HWND window, UINT message, UINT_PTR eventId, DWORD time) noexcept;

// The state of each of `keys` from GetAsyncKeyState, in the order given (key 0 is skipped);
// every other slot is 0, as for a key fully up.
void TakeKeySnapshot(const std::vector<std::uint8_t>& keys, KeySnapshot& snapshot);

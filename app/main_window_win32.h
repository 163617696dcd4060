// MainWindow: the program's only window, with its visible and hidden controls.
#pragma once

#include <windows.h>

using MainWindowHandler = void (*)();

// Creates the window hidden with all its controls, runs `created` (when set), then shows it.
// `destroying` runs while the window is being destroyed. Returns whether the window exists.
bool CreateMainWindow(MainWindowHandler created, MainWindowHandler destroying);

// The window's key handling for the message loop: Esc closes it, Tab and Shift+Tab move the
// focus through the fixed order. Returns true when it consumed the message.
bool HandleMainWindowKeyMessage(MSG* message) noexcept;

// Engine check boxes: each click sets the other box to the opposite state.
void OnGoogleCheckClicked();
void OnMicrosoftCheckClicked();

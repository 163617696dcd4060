// The custom-drawn child window classes of MainWindow: hyperlinks and captions.
#pragma once

#include <windows.h>

inline constexpr char kHyperlinkClassName[] = "ZelvaneHyperlink";
inline constexpr char kCaptionClassName[] = "ZelvaneCaption";

// Registers both classes; `font` is the font they draw their text in.
bool RegisterChildWindowClasses(HINSTANCE instance, HFONT font);

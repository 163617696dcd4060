// The custom-drawn child window classes of MainWindow: hyperlinks and captions.
#pragma once

#include <windows.h>

inline constexpr wchar_t kHyperlinkClassName[] = L"ZelvaneHyperlink";
inline constexpr wchar_t kCaptionClassName[] = L"ZelvaneCaption";

// Registers both classes; `font` is the font they draw their text in.
bool RegisterChildWindowClasses(HINSTANCE instance, HFONT font);

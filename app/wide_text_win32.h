// The tool's own texts at the wide Win32 calls. Texts stay AnsiText (code page 936) inside the
// tool; the window calls take UTF-16, converted here with code page 936 named, so the system's
// ANSI code page never decides how a text looks.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "text/code_page_936.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");

// UTF-16 of a code page 936 text; c_str() gives the NUL-terminated form the calls take.
inline std::wstring WideFrom936(const AnsiText& text) {
  const std::u16string units = cp936::ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

// Code page 936 bytes of `count` UTF-16 units, as the ANSI calls give them on a code page 936
// system (a character with no GBK form becomes its best fit or '?').
inline AnsiText Text936FromWide(const wchar_t* units, std::size_t count) {
  return cp936::FromUtf16Lossy(std::u16string(units, units + count));
}

// The real Win32 converters behind the services' code-page seam.
#include <windows.h>

#include "services/code_page.h"

namespace codepage {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");

int Cp936ToUtf16(const char* text, char16_t* out, int out_units) {
  return MultiByteToWideChar(936, 0, text, -1, reinterpret_cast<wchar_t*>(out),
                             out == nullptr ? 0 : out_units);
}

int Utf16ToUtf8(const char16_t* units, int unit_count, char* out, int out_bytes) {
  return WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(units), unit_count,
                             out, out == nullptr ? 0 : out_bytes, nullptr, nullptr);
}

}  // namespace codepage

// The boundary conversions over the Win32 converters, with the code page named in every call.
#include <windows.h>

#include "text/code_page_936.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");

constexpr UINT kGbk = 936;

const wchar_t* Wide(const std::u16string& units) {
  return reinterpret_cast<const wchar_t*>(units.data());
}

bool FitsInt(std::size_t size) { return size <= 0x3fffffff; }

std::u16string MultiByteToUtf16(UINT codePage, DWORD flags, const std::string& bytes,
                                bool* ok) {
  *ok = true;
  if (bytes.empty()) return {};
  if (!FitsInt(bytes.size())) {
    *ok = false;
    return {};
  }
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (units <= 0) {
    *ok = false;
    return {};
  }
  std::u16string out(static_cast<std::size_t>(units), u'\0');
  if (MultiByteToWideChar(codePage, flags, bytes.data(), length,
                          reinterpret_cast<wchar_t*>(&out[0]), units) != units) {
    *ok = false;
    return {};
  }
  return out;
}

// `usedDefault` null: the code page does not allow asking (UTF-8).
std::string Utf16ToMultiByte(UINT codePage, DWORD flags, const std::u16string& units,
                             BOOL* usedDefault) {
  if (units.empty() || !FitsInt(units.size())) return {};
  const int length = static_cast<int>(units.size());
  const int size =
      WideCharToMultiByte(codePage, flags, Wide(units), length, nullptr, 0, nullptr, usedDefault);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(codePage, flags, Wide(units), length, &out[0], size, nullptr,
                          usedDefault) != size)
    return {};
  return out;
}

}  // namespace

namespace cp936 {

std::u16string ToUtf16(const AnsiText& text) {
  bool ok = false;
  return MultiByteToUtf16(kGbk, 0, text, &ok);
}

std::optional<AnsiText> FromUtf16(const std::u16string& units) {
  if (units.empty()) return AnsiText();
  BOOL usedDefault = FALSE;
  AnsiText out = Utf16ToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, units, &usedDefault);
  if (usedDefault || out.empty()) return std::nullopt;
  return out;
}

AnsiText FromUtf16Lossy(const std::u16string& units) {
  return Utf16ToMultiByte(kGbk, 0, units, nullptr);
}

}  // namespace cp936

namespace utf8 {

std::string FromUtf16(const std::u16string& units) {
  return Utf16ToMultiByte(CP_UTF8, 0, units, nullptr);
}

std::optional<std::u16string> ToUtf16(const std::string& bytes) {
  bool ok = false;
  std::u16string out = MultiByteToUtf16(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, &ok);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace utf8

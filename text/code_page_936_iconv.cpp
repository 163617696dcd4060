// The boundary conversions natively, over glibc iconv, for the portable tests. Invalid input is
// replaced the way the Win32 converters do with flags 0: an undecodable GBK byte becomes '?',
// an unpaired surrogate U+FFFD.
#include <iconv.h>

#include <cerrno>

#include "text/code_page_936.h"

namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts all of `in`. Each undecodable step of `skip` input bytes becomes `replacement`, or
// stops the conversion with false when `replacement` is null.
bool Convert(const char* to, const char* from, const std::string& in, std::size_t skip,
             const std::string* replacement, std::string* out) {
  Iconv cd(to, from);
  if (!cd.ok()) return false;
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  char buffer[4096];
  while (left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t rc = iconv(cd.get(), &src, &left, &dst, &room);
    out->append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    if ((errno != EILSEQ && errno != EINVAL) || replacement == nullptr) return false;
    const std::size_t step = left < skip ? left : skip;
    src += step;
    left -= step;
    out->append(*replacement);
  }
  return true;
}

std::string AsBytes(const std::u16string& units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xff));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::u16string AsUnits(const std::string& bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return units;
}

}  // namespace

namespace cp936 {

std::u16string ToUtf16(const AnsiText& text) {
  static const std::string kQuestion("?\0", 2);
  std::string out;
  if (!Convert("UTF-16LE", "CP936", text, 1, &kQuestion, &out)) return {};
  return AsUnits(out);
}

std::optional<AnsiText> FromUtf16(const std::u16string& units) {
  std::string out;
  if (!Convert("CP936", "UTF-16LE", AsBytes(units), 2, nullptr, &out)) return std::nullopt;
  return out;
}

AnsiText FromUtf16Lossy(const std::u16string& units) {
  static const std::string kQuestion("?");
  std::string out;
  if (!Convert("CP936", "UTF-16LE", AsBytes(units), 2, &kQuestion, &out)) return {};
  return out;
}

}  // namespace cp936

namespace utf8 {

std::string FromUtf16(const std::u16string& units) {
  static const std::string kReplacement("\xEF\xBF\xBD");
  std::string out;
  if (!Convert("UTF-8", "UTF-16LE", AsBytes(units), 2, &kReplacement, &out)) return {};
  return out;
}

std::optional<std::u16string> ToUtf16(const std::string& bytes) {
  std::string out;
  if (!Convert("UTF-16LE", "UTF-8", bytes, 1, nullptr, &out)) return std::nullopt;
  return AsUnits(out);
}

}  // namespace utf8

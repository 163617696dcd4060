// Native stand-in for the Win32 converters, over glibc iconv. Invalid input is replaced the
// way flags 0 does on Windows: an undecodable byte becomes '?', an unpaired surrogate U+FFFD.
#include "services/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace codepage {
namespace {

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (ok()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts all of `in`, replacing each undecodable step of `skip` input bytes by `replacement`.
bool ConvertAll(const char* to, const char* from, const std::string& in, std::size_t skip,
                const std::string& replacement, std::string* out) {
  IconvHandle cd(to, from);
  if (!cd.ok()) return false;
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char buffer[4096];
  while (src_left > 0) {
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    const std::size_t rc = iconv(cd.get(), &src, &src_left, &dst, &dst_left);
    out->append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (errno != EILSEQ && errno != EINVAL) return false;
    const std::size_t step = src_left < skip ? src_left : skip;
    src += step;
    src_left -= step;
    out->append(replacement);
  }
  return true;
}

int CopyOut(const std::string& converted, std::size_t unit_size, void* out, int out_units) {
  const std::size_t units = converted.size() / unit_size;
  if (units > 0x7fffffff) return 0;
  if (out == nullptr) return static_cast<int>(units);
  if (out_units < 0 || static_cast<std::size_t>(out_units) < units) return 0;
  std::memcpy(out, converted.data(), converted.size());
  return static_cast<int>(units);
}

}  // namespace

int Cp936ToUtf16(const char* text, char16_t* out, int out_units) {
  if (text == nullptr) return 0;
  const std::string in(text, std::strlen(text) + 1);  // the NUL is converted too
  std::string converted;
  if (!ConvertAll("UTF-16LE", "CP936", in, 1, std::string("?\0", 2), &converted)) return 0;
  return CopyOut(converted, 2, out, out_units);
}

int Utf16ToUtf8(const char16_t* units, int unit_count, char* out, int out_bytes) {
  if (units == nullptr) return 0;
  std::size_t count = 0;
  if (unit_count < 0) {
    while (units[count] != 0) ++count;
    ++count;
  } else {
    count = static_cast<std::size_t>(unit_count);
  }
  std::string in;
  in.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    in.push_back(static_cast<char>(units[i] & 0xff));
    in.push_back(static_cast<char>(units[i] >> 8));
  }
  std::string converted;
  if (!ConvertAll("UTF-8", "UTF-16LE", in, 2, "\xEF\xBF\xBD", &converted)) return 0;
  return CopyOut(converted, 1, out, out_bytes);
}

}  // namespace codepage

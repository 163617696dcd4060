#include "app/start_signal.h"

namespace start_signal {

AnsiText FileNameOf(const AnsiText& path) {
  std::size_t nameStart = 0;
  for (std::size_t pos = 0; pos < path.size(); pos += ansi::CharLengthAt(path, pos)) {
    if (path[pos] == '\\') nameStart = pos + 1;
  }
  return path.substr(nameStart);
}

bool IsTmpExecutable(const AnsiText& path) {
  const AnsiText name = FileNameOf(path);
  const std::size_t tailStart = name.size() > 4 ? name.size() - 4 : 0;
  // Folding every byte is the same as folding only single-byte characters here: a trail byte
  // that looks like a capital follows a lead byte of 0x80 or more, which ".tmp" never holds.
  AnsiText tail;
  for (std::size_t pos = tailStart; pos < name.size(); ++pos) {
    tail += static_cast<char>(ansi::AsciiLower(static_cast<unsigned char>(name[pos])));
  }
  return tail == ".tmp";
}

}  // namespace start_signal

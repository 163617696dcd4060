// What a hyperlink draws and runs, apart from the window calls.
#pragma once

#include <cstdint>
#include <string>

#include "text/ansi_text.h"

struct LinkColour {
  std::uint8_t red, green, blue;
  bool operator==(const LinkColour& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

// Blue normally, light blue under the mouse, dark red once opened; hover wins.
LinkColour LinkTextColour(bool hovered, bool opened);

// The command line that opens `target` with the open command registered for ".htm" files:
// "%1" in the command stands for the target; a command without it gets the target appended.
// An empty command gives an empty text (nothing to run).
AnsiText HtmOpenCommandLine(const AnsiText& registeredCommand, const AnsiText& target);

// The same for a command as the system gives it, in UTF-16 (a unit of a surrogate pair is never
// "%"); blank means only U+0020 and U+3000.
std::u16string HtmOpenCommandLine(const std::u16string& registeredCommand,
                                  const std::u16string& target);

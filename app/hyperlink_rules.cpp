#include "app/hyperlink_rules.h"

LinkColour LinkTextColour(bool hovered, bool opened) {
  if (hovered) return {51, 153, 255};
  if (opened) return {128, 0, 0};
  return {0, 0, 255};
}

AnsiText HtmOpenCommandLine(const AnsiText& registeredCommand, const AnsiText& target) {
  if (ansi::IsBlank(registeredCommand)) return {};
  AnsiText line;
  bool substituted = false;
  for (std::size_t pos = 0; pos < registeredCommand.size();) {
    if (ansi::MatchesAt(registeredCommand, pos, "%1")) {
      line += target;
      substituted = true;
      pos += 2;
      continue;
    }
    const std::size_t length = ansi::CharLengthAt(registeredCommand, pos);
    line.append(registeredCommand, pos, length);
    pos += length;
  }
  if (!substituted) line += " " + target;
  return line;
}

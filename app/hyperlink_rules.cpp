#include "app/hyperlink_rules.h"

namespace {

// One placement for both text kinds; `charLength` steps over a whole character, so a "%" that
// is part of a double-byte character starts no placeholder.
template <typename Text, typename CharLength>
Text PlaceTarget(const Text& command, const Text& target, CharLength charLength) {
  const Text placeholder{'%', '1'};
  Text line;
  bool substituted = false;
  for (std::size_t pos = 0; pos < command.size();) {
    if (command.compare(pos, placeholder.size(), placeholder) == 0) {
      line += target;
      substituted = true;
      pos += placeholder.size();
      continue;
    }
    const std::size_t length = charLength(command, pos);
    line.append(command, pos, length);
    pos += length;
  }
  if (!substituted) {
    line += static_cast<typename Text::value_type>(' ');
    line += target;
  }
  return line;
}

bool IsBlankUtf16(const std::u16string& text) {
  for (char16_t unit : text) {
    if (unit != u' ' && unit != u'\u3000') return false;
  }
  return true;
}

}  // namespace

LinkColour LinkTextColour(bool hovered, bool opened) {
  if (hovered) return {51, 153, 255};
  if (opened) return {128, 0, 0};
  return {0, 0, 255};
}

AnsiText HtmOpenCommandLine(const AnsiText& registeredCommand, const AnsiText& target) {
  if (ansi::IsBlank(registeredCommand)) return {};
  return PlaceTarget(registeredCommand, target, ansi::CharLengthAt);
}

std::u16string HtmOpenCommandLine(const std::u16string& registeredCommand,
                                  const std::u16string& target) {
  if (IsBlankUtf16(registeredCommand)) return {};
  return PlaceTarget(registeredCommand, target,
                     [](const std::u16string&, std::size_t) -> std::size_t { return 1; });
}

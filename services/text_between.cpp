#include "services/text_between.h"

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// First character position at or after `from` where `marker` begins; walks whole characters.
std::size_t FindMarker(const AnsiText& text, const AnsiText& marker, std::size_t from) {
  if (marker.empty()) return kNotFound;
  for (std::size_t pos = from; pos < text.size();) {
    if (ansi::IsLoneLeadAt(text, pos)) break;
    if (ansi::MatchesAt(text, pos, marker)) return pos;
    pos += ansi::CharLengthAt(text, pos);
  }
  return kNotFound;
}

}  // namespace

AnsiText TextBetween(const AnsiText& text, const AnsiText& start_marker,
                     const AnsiText& end_marker) {
  const std::size_t start = FindMarker(text, start_marker, 0);
  if (start == kNotFound) return {};
  const std::size_t after = start + start_marker.size();
  if (after >= text.size()) return {};
  const std::size_t end = FindMarker(text, end_marker, after);
  if (end == kNotFound) return {};
  return text.substr(after, end - after);
}

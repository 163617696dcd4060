#include "translate_pass/window_under_cursor.h"

namespace {

bool Contains(const WindowRect& rect, ScreenPoint point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
         point.y < rect.bottom;
}

std::uint64_t Extent(std::int32_t from, std::int32_t to) {
  return to > from ? static_cast<std::uint64_t>(static_cast<std::int64_t>(to) - from) : 0;
}

// Unsigned 64 bits hold the area of any rectangle: a huge one must not wrap into a small one.
std::uint64_t AreaOf(const WindowRect& rect) {
  return Extent(rect.top, rect.bottom) * Extent(rect.left, rect.right);
}

}  // namespace

WindowHandle WindowUnderCursor(WindowTree& tree) {
  ScreenPoint point;
  if (!tree.CursorPosition(point)) return 0;
  const WindowHandle hit = tree.WindowFromPoint(point);
  if (hit == 0) return 0;
  const WindowHandle parent = tree.ParentOf(hit);
  if (parent == 0) return hit;
  WindowHandle best = hit;
  std::uint64_t bestArea = AreaOf(tree.WindowRectOf(hit));
  for (WindowHandle next = tree.NextInZOrder(hit); next != 0; next = tree.NextInZOrder(next)) {
    const WindowRect rect = tree.WindowRectOf(next);
    if (!Contains(rect, point) || tree.ParentOf(next) != parent || !tree.IsVisible(next)) continue;
    const std::uint64_t area = AreaOf(rect);
    if (area < bestArea) {
      best = next;
      bestArea = area;
    }
  }
  return best;
}

// Pixels: boxes, lines, rectangles and ellipses, clipped.
#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace headless::detail {

namespace {

RECT Limit(const Surface& s, const RECT& clip) {
  return {std::max<LONG>(clip.left, 0), std::max<LONG>(clip.top, 0),
          std::min<LONG>(clip.right, s.width), std::min<LONG>(clip.bottom, s.height)};
}

bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void Put(Surface& s, int x, int y, const RECT& limit, uint32_t colour) {
  if (Inside(limit, x, y)) s.pixels[static_cast<size_t>(y) * s.width + x] = colour;
}

RECT Ordered(RECT r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

// The half-open x range [from, to) an ellipse inscribed in r covers on row y
// (pixel centres inside the ellipse); empty when from >= to.
void EllipseSpan(const RECT& r, int y, int* from, int* to) {
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
  double dy = (y + 0.5 - cy) / ry;
  double inside = 1.0 - dy * dy;
  if (rx <= 0 || ry <= 0 || inside < 0) {
    *from = *to = 0;
    return;
  }
  double half = rx * std::sqrt(inside);
  *from = static_cast<int>(std::ceil(cx - half - 0.5));
  *to = static_cast<int>(std::floor(cx + half - 0.5)) + 1;
}

}  // namespace

void Surface::Resize(int w, int h, uint32_t fill) {
  width = std::max(w, 0);
  height = std::max(h, 0);
  pixels.assign(static_cast<size_t>(width) * height, fill);
}

void FillBox(Surface& s, const RECT& box, const RECT& clip, uint32_t colour) {
  RECT limit = Limit(s, clip);
  RECT b = Ordered(box);
  int left = std::max(b.left, limit.left), right = std::min(b.right, limit.right);
  int top = std::max(b.top, limit.top), bottom = std::min(b.bottom, limit.bottom);
  for (int y = top; y < bottom; ++y)
    std::fill_n(s.pixels.begin() + static_cast<ptrdiff_t>(y) * s.width + left,
                std::max(right - left, 0), colour);
}

void BlendPixel(Surface& s, int x, int y, const RECT& clip, uint32_t colour, int coverage) {
  RECT limit = Limit(s, clip);
  if (!Inside(limit, x, y) || coverage <= 0) return;
  uint32_t& p = s.pixels[static_cast<size_t>(y) * s.width + x];
  if (coverage >= 255) {
    p = colour;
    return;
  }
  uint32_t mixed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int under = (p >> shift) & 0xFF, over = (colour >> shift) & 0xFF;
    mixed |= static_cast<uint32_t>((over * coverage + under * (255 - coverage) + 127) / 255) << shift;
  }
  p = mixed;
}

void DrawLine(Surface& s, POINT from, POINT to, const RECT& clip, uint32_t colour) {
  // Along a row, the common case (a point is a line one pixel long), the
  // pixels are filled at once.
  if (from.y == to.y) {
    if (from.y < std::max<int>(clip.top, 0) || from.y >= std::min<int>(clip.bottom, s.height)) return;
    int left = std::max<int>({std::min(from.x, to.x + 1), clip.left, 0});
    int right = std::min<int>({std::max(from.x + 1, to.x), clip.right, s.width});
    if (left < right)
      std::fill_n(s.pixels.begin() + static_cast<ptrdiff_t>(from.y) * s.width + left, right - left, colour);
    return;
  }
  RECT limit = Limit(s, clip);
  int x = from.x, y = from.y;
  int dx = std::abs(to.x - x), dy = -std::abs(to.y - y);
  int sx = x < to.x ? 1 : -1, sy = y < to.y ? 1 : -1;
  int error = dx + dy;
  while (x != to.x || y != to.y) {
    Put(s, x, y, limit, colour);
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

void DrawRectangle(Surface& s, RECT r, const RECT& clip, std::optional<uint32_t> pen,
                   std::optional<uint32_t> brush) {
  r = Ordered(r);
  if (!pen) {
    if (brush) FillBox(s, {r.left, r.top, r.right - 1, r.bottom - 1}, clip, *brush);
    return;
  }
  if (brush) FillBox(s, r, clip, *brush);
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return;
  FillBox(s, {r.left, r.top, r.right, r.top + 1}, clip, *pen);
  FillBox(s, {r.left, r.bottom - 1, r.right, r.bottom}, clip, *pen);
  FillBox(s, {r.left, r.top, r.left + 1, r.bottom}, clip, *pen);
  FillBox(s, {r.right - 1, r.top, r.right, r.bottom}, clip, *pen);
}

void DrawEllipse(Surface& s, RECT r, const RECT& clip, std::optional<uint32_t> pen,
                 std::optional<uint32_t> brush) {
  r = Ordered(r);
  RECT limit = Limit(s, clip);
  for (int y = r.top; y < r.bottom; ++y) {
    int from, to;
    EllipseSpan(r, y, &from, &to);
    if (from >= to) continue;
    if (brush) FillBox(s, {from, y, to, y + 1}, limit, *brush);
    if (!pen) continue;
    // The outline: covered pixels with an uncovered neighbour above or below.
    int aboveFrom, aboveTo, belowFrom, belowTo;
    EllipseSpan(r, y - 1, &aboveFrom, &aboveTo);
    EllipseSpan(r, y + 1, &belowFrom, &belowTo);
    for (int x = from; x < to; ++x) {
      bool edge = x == from || x == to - 1 || x < aboveFrom || x >= aboveTo || x < belowFrom ||
                  x >= belowTo;
      if (edge) Put(s, x, y, limit, *pen);
    }
  }
}

}  // namespace headless::detail

// The rasteriser behind the GDI calls (internal to win32): pixels drawn into
// a window's surface, clipped to a rectangle, as Windows draws them.
#ifndef HEADLESS_RASTER_H
#define HEADLESS_RASTER_H
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace headless::detail {

// A window's client area: 0x00RRGGBB pixels, row-major.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  void Resize(int w, int h, uint32_t fill);
};

// Every drawing call takes a clip rectangle in surface coordinates; pixels
// outside it or outside the surface are left alone.
void FillBox(Surface& s, const RECT& box, const RECT& clip, uint32_t colour);
// coverage 0..255: how much of colour goes over what is there.
void BlendPixel(Surface& s, int x, int y, const RECT& clip, uint32_t colour, int coverage);
// From `from` up to, not including, `to` (Bresenham).
void DrawLine(Surface& s, POINT from, POINT to, const RECT& clip, uint32_t colour);
// Filled with brush (none when empty) over [left, right) x [top, bottom) and
// outlined with pen inside it; without a pen the fill stops one pixel short
// on the right and bottom, as Windows fills it.
void DrawRectangle(Surface& s, RECT r, const RECT& clip, std::optional<uint32_t> pen,
                   std::optional<uint32_t> brush);
void DrawEllipse(Surface& s, RECT r, const RECT& clip, std::optional<uint32_t> pen,
                 std::optional<uint32_t> brush);

}  // namespace headless::detail

#endif

// Text through FreeType with the stand-in's one typeface, DejaVu Sans from
// Debian's fonts-dejavu-core (internal to win32). Sizes are the em height in
// pixels, as a Windows font's negative height gives it.
#ifndef HEADLESS_FONT_H
#define HEADLESS_FONT_H
#include <cstdint>
#include <string>

#include "raster.h"

namespace headless::detail {

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;        // ascent + descent: one line
  int averageWidth = 0;  // of the 52 letters, rounded, as Windows averages them
};

FontMetrics MetricsOf(int pixelSize);
int TextWidth(const std::string& text, int pixelSize);
// Draws text with its cell's top-left corner at (x, y), glyphs blended by
// their coverage. False when no font could be loaded (nothing is drawn).
bool DrawText(Surface& s, int x, int y, const std::string& text, int pixelSize, uint32_t colour,
              const RECT& clip);
// Em height in pixels of a font of pointSize points on a 96-dpi screen.
int PixelSizeOfPoints(int pointSize);

}  // namespace headless::detail

#endif

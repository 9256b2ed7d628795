// FreeType behind the stand-in's text: one face, glyphs rendered once per
// size and kept.
#include "font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#ifndef HEADLESS_FONT_FILE
#define HEADLESS_FONT_FILE "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
#endif

namespace headless::detail {

namespace {

struct Glyph {
  int left = 0;  // from the pen position to the bitmap's first column
  int top = 0;   // from the baseline up to the bitmap's first row
  int width = 0;
  int rows = 0;
  int advance = 0;
  std::vector<uint8_t> coverage;
};

// The face, loaded on first use; null when the font cannot be had (said once).
FT_Face Face() {
  static FT_Library library = nullptr;
  static FT_Face face = nullptr;
  static bool tried = false;
  if (tried) return face;
  tried = true;
  const char* path = std::getenv("HEADLESS_FONT_FILE");
  if (!path || !*path) path = HEADLESS_FONT_FILE;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, path, 0, &face) != 0) {
    std::fprintf(stderr, "stand-in: the font %s cannot be loaded; text is not drawn\n", path);
    face = nullptr;
  }
  return face;
}

bool SetSize(FT_Face face, int pixelSize) {
  return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize > 0 ? pixelSize : 1)) == 0;
}

const Glyph& GlyphOf(unsigned char c, int pixelSize) {
  static std::map<std::pair<int, unsigned char>, Glyph> cache;
  auto key = std::make_pair(pixelSize, c);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  Glyph g;
  FT_Face face = Face();
  // Bytes are Windows-1252 in the library's texts; Latin-1 covers what it uses.
  if (face && SetSize(face, pixelSize) &&
      FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0) {
    FT_GlyphSlot slot = face->glyph;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(slot->bitmap.width);
    g.rows = static_cast<int>(slot->bitmap.rows);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    for (int row = 0; row < g.rows; ++row)
      for (int col = 0; col < g.width; ++col)
        g.coverage.push_back(slot->bitmap.buffer[row * slot->bitmap.pitch + col]);
  }
  return cache.emplace(key, std::move(g)).first->second;
}

}  // namespace

int PixelSizeOfPoints(int pointSize) { return (pointSize * 96 + 36) / 72; }

FontMetrics MetricsOf(int pixelSize) {
  static std::map<int, FontMetrics> cache;
  auto it = cache.find(pixelSize);
  if (it != cache.end()) return it->second;
  FontMetrics m;
  FT_Face face = Face();
  if (face && SetSize(face, pixelSize)) {
    m.ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    m.descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
  } else {
    m.ascent = pixelSize;
    m.descent = pixelSize / 4;
  }
  m.height = m.ascent + m.descent;
  std::string letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters += c;
  for (char c = 'a'; c <= 'z'; ++c) letters += c;
  m.averageWidth = (TextWidth(letters, pixelSize) / 26 + 1) / 2;
  if (m.averageWidth == 0) m.averageWidth = (pixelSize + 1) / 2;
  cache[pixelSize] = m;
  return m;
}

int TextWidth(const std::string& text, int pixelSize) {
  int width = 0;
  for (char c : text) width += GlyphOf(static_cast<unsigned char>(c), pixelSize).advance;
  return width;
}

bool DrawText(Surface& s, int x, int y, const std::string& text, int pixelSize, uint32_t colour,
              const RECT& clip) {
  if (!Face()) return false;
  int baseline = y + MetricsOf(pixelSize).ascent;
  for (char c : text) {
    const Glyph& g = GlyphOf(static_cast<unsigned char>(c), pixelSize);
    for (int row = 0; row < g.rows; ++row)
      for (int col = 0; col < g.width; ++col)
        BlendPixel(s, x + g.left + col, baseline - g.top + row, clip, colour,
                   g.coverage[static_cast<size_t>(row) * g.width + col]);
    x += g.advance;
  }
  return true;
}

}  // namespace headless::detail

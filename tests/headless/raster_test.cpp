// The pictures drawing calls leave: rectangles, lines, ellipses and text, a
// few pixels each, where Windows puts them.
#include <algorithm>

#include "paint_window.h"

namespace {

using paint_test::PaintWindows;
using Raster = PaintWindows;

constexpr uint32_t kGrey = 0xC0C0C0;  // the test class's light grey background
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xFF0000;

struct Pixel {
  int x, y;
  uint32_t colour;
};

void ExpectPixels(const headless::Image& image, std::initializer_list<Pixel> pixels) {
  for (const Pixel& p : pixels)
    EXPECT_EQ(image.At(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
}

TEST_F(Raster, RectanglesFillWithTheBrushAndOutlineWithThePenInside) {
  struct Case {
    const char* name;
    int pen;    // stock pen
    int brush;  // stock brush, or -1 for a red one
    std::initializer_list<Pixel> pixels;
  } const cases[] = {
      {"pen and brush", BLACK_PEN, -1,
       {{5, 5, kBlack}, {14, 11, kBlack}, {14, 8, kBlack}, {10, 8, kRed}, {15, 8, kGrey},
        {10, 12, kGrey}, {4, 4, kGrey}}},
      {"null brush", BLACK_PEN, NULL_BRUSH, {{5, 5, kBlack}, {10, 8, kGrey}, {14, 11, kBlack}}},
      // No outline: the fill stops a pixel short on the right and bottom.
      {"null pen", NULL_PEN, -1, {{5, 5, kRed}, {13, 10, kRed}, {14, 10, kGrey}, {13, 11, kGrey}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = MakePainted();
    HDC dc = GetDC(h);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(dc, GetStockObject(c.pen));
    SelectObject(dc, c.brush < 0 ? red : GetStockObject(c.brush));
    Rectangle(dc, 5, 5, 15, 12);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    ReleaseDC(h, dc);
    DeleteObject(red);
    ExpectPixels(headless::Snapshot(h), c.pixels);
  }
}

TEST_F(Raster, LinesStopShortOfTheirEndAndMoveTheCurrentPosition) {
  struct Case {
    const char* name;
    POINT from, to;
    Pixel on, off;
  } const cases[] = {
      {"right", {2, 20}, {10, 20}, {9, 20, kBlack}, {10, 20, kGrey}},
      {"left", {10, 21}, {2, 21}, {3, 21, kBlack}, {2, 21, kGrey}},
      {"down", {30, 2}, {30, 9}, {30, 8, kBlack}, {30, 9, kGrey}},
      {"diagonal", {0, 0}, {5, 5}, {4, 4, kBlack}, {5, 5, kGrey}},
      {"single pixel", {25, 30}, {26, 30}, {25, 30, kBlack}, {26, 30, kGrey}},
      {"right, out of the window", {35, 24}, {90, 24}, {39, 24, kBlack}, {34, 24, kGrey}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = MakePainted();
    HDC dc = GetDC(h);
    MoveToEx(dc, c.from.x, c.from.y, nullptr);
    LineTo(dc, c.to.x, c.to.y);
    ReleaseDC(h, dc);
    ExpectPixels(headless::Snapshot(h),
                 {c.on, c.off, {static_cast<int>(c.from.x), static_cast<int>(c.from.y), kBlack}});
  }
}

TEST_F(Raster, ANullPenDrawsNoLineAndDrawingOutsideTheWindowIsClipped) {
  HWND h = MakePainted(20, 10);
  HDC dc = GetDC(h);
  SelectObject(dc, GetStockObject(NULL_PEN));
  MoveToEx(dc, 0, 5, nullptr);
  LineTo(dc, 19, 5);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Rectangle(dc, -50, -50, 3, 3);
  Rectangle(dc, 18, 8, 500, 500);
  MoveToEx(dc, -100, -100, nullptr);
  LineTo(dc, 100, 100);
  ReleaseDC(h, dc);
  headless::Image image = headless::Snapshot(h);
  ASSERT_EQ(image.width, 20);
  ASSERT_EQ(image.height, 10);
  ExpectPixels(image, {{10, 5, kGrey}, {0, 0, kBlack}, {2, 2, kBlack}, {3, 3, kBlack},
                       {19, 9, kBlack}, {12, 2, kGrey}});
}

TEST_F(Raster, EllipsesStayInsideTheirRectangle) {
  HWND h = MakePainted();
  HDC dc = GetDC(h);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Ellipse(dc, 10, 10, 30, 30);
  ReleaseDC(h, dc);
  ExpectPixels(headless::Snapshot(h),
               {{20, 20, kBlack}, {10, 10, kGrey}, {29, 29, kGrey}, {10, 20, kBlack},
                {20, 29, kBlack}, {20, 30, kGrey}, {9, 20, kGrey}});
}

// The box where a text changed pixels, and whether some took the text colour.
struct Ink {
  RECT box = {1000, 1000, -1, -1};
  int exact = 0;
};

Ink InkOf(const headless::Image& image, uint32_t background, uint32_t colour) {
  Ink ink;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      uint32_t p = image.At(x, y);
      if (p == background) continue;
      ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                 std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1)};
      if (p == colour) ++ink.exact;
    }
  return ink;
}

TEST_F(Raster, TextIsDrawnWithARealFontInTheTextColourWithinItsCell) {
  HWND h = MakePainted(120, 40);
  HDC dc = GetDC(h);
  SIZE cell;
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "Frame: 12", 9, &cell));
  SIZE shorter;
  GetTextExtentPoint32A(dc, "Frame", 5, &shorter);
  EXPECT_GT(cell.cx, shorter.cx);
  EXPECT_GE(cell.cy, 10);  // an 8 to 9 point face
  EXPECT_LE(cell.cy, 18);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 255));
  TextOutA(dc, 7, 9, "Frame: 12", 9);
  ReleaseDC(h, dc);

  Ink ink = InkOf(headless::Snapshot(h), kGrey, 0x0000FF);
  EXPECT_GT(ink.exact, 10);  // solid stems in the text colour
  EXPECT_GE(ink.box.left, 7);
  EXPECT_GE(ink.box.top, 9);
  EXPECT_LE(ink.box.right, 7 + cell.cx + 1);
  EXPECT_LE(ink.box.bottom, 9 + cell.cy);
  EXPECT_GT(ink.box.right - ink.box.left, cell.cx / 2);
}

TEST_F(Raster, AnOpaqueBackgroundFillsTheTextCellFirst) {
  HWND h = MakePainted(120, 40);
  HDC dc = GetDC(h);
  SetBkColor(dc, RGB(0, 255, 0));
  SetTextColor(dc, RGB(255, 0, 0));
  TextOutA(dc, 4, 4, "Hi", 2);
  SIZE cell;
  GetTextExtentPoint32A(dc, "Hi", 2, &cell);
  ReleaseDC(h, dc);
  headless::Image image = headless::Snapshot(h);
  Ink ink = InkOf(image, kGrey, 0xFF0000);
  EXPECT_EQ(ink.box.left, 4);
  EXPECT_EQ(ink.box.top, 4);
  EXPECT_EQ(ink.box.right, 4 + cell.cx);
  EXPECT_EQ(ink.box.bottom, 4 + cell.cy);
  EXPECT_EQ(image.At(4, 4 + cell.cy - 1), 0x00FF00u);  // below the baseline: background
  EXPECT_GT(ink.exact, 2);  // the stems of H and i
}

}  // namespace

// Device contexts and GDI objects as the display list records them.
#include "paint_window.h"

namespace {

using paint_test::Ops;
using paint_test::PaintWindows;
using GdiDisplayList = PaintWindows;

TEST_F(GdiDisplayList, RecordsEveryCallInOrderWithTheStateItWasMadeIn) {
  HWND h = MakePainted();
  HDC dc = GetDC(h);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(dc, red);
  SelectObject(dc, blue);
  Rectangle(dc, 1, 2, 30, 31);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 3, 4, 5, 6);
  MoveToEx(dc, 7, 8, nullptr);
  LineTo(dc, 9, 10);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(1, 2, 3));
  TextOutA(dc, 11, 12, "Sample: 3", 9);
  ReleaseDC(h, dc);

  const auto& calls = headless::DisplayList(h);
  EXPECT_EQ(Ops(calls), (std::vector<std::string>{"SelectObject", "SelectObject", "Rectangle",
                                                  "SelectObject", "Rectangle", "MoveToEx",
                                                  "LineTo", "SetBkMode", "SetTextColor",
                                                  "TextOutA"}));
  ASSERT_EQ(calls.size(), 10u);
  EXPECT_EQ(calls[0].text, "pen");
  EXPECT_EQ(calls[1].text, "brush");
  EXPECT_EQ(calls[2].args, (std::vector<int>{1, 2, 30, 31}));
  EXPECT_EQ(calls[2].pen, RGB(255, 0, 0));
  EXPECT_EQ(calls[2].brush, RGB(0, 0, 255));
  EXPECT_FALSE(calls[2].nullBrush);
  EXPECT_TRUE(calls[4].nullBrush);
  EXPECT_EQ(calls[5].args, (std::vector<int>{7, 8}));
  EXPECT_EQ(calls[6].args, (std::vector<int>{9, 10}));
  EXPECT_EQ(calls[6].pen, RGB(255, 0, 0));
  EXPECT_EQ(calls[9].text, "Sample: 3");
  EXPECT_EQ(calls[9].args, (std::vector<int>{11, 12}));
  EXPECT_EQ(calls[9].textColor, RGB(1, 2, 3));
  EXPECT_EQ(calls[9].bkMode, TRANSPARENT);
  EXPECT_EQ(calls[4].bkMode, OPAQUE);  // the state as each call was made

  headless::ClearDisplayList(h);
  EXPECT_TRUE(headless::DisplayList(h).empty());
  DeleteObject(red);
  DeleteObject(blue);
}

TEST_F(GdiDisplayList, SelectObjectGivesBackWhatWasSelectedOfTheSameKind) {
  HWND h = MakePainted();
  HDC dc = GetDC(h);
  HGDIOBJ blackPen = GetStockObject(BLACK_PEN);
  HPEN green = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  // A fresh device context: black pen, white brush, the system font.
  EXPECT_EQ(SelectObject(dc, green), blackPen);
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT)), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(dc, blackPen), green);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(0x1234)), nullptr);
  EXPECT_EQ(SelectObject(nullptr, blackPen), nullptr);
  EXPECT_EQ(GetStockObject(12345), nullptr);
  EXPECT_EQ(GetStockObject(NULL_PEN), GetStockObject(NULL_PEN));  // stock objects are shared
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  ReleaseDC(h, dc);
  DeleteObject(green);
  DeleteObject(brush);
}

TEST_F(GdiDisplayList, AnObjectInUseIsNotDeletedAndADeletedOneIsGone) {
  HWND h = MakePainted();
  HDC dc = GetDC(h);
  HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
  SelectObject(dc, brush);
  EXPECT_FALSE(DeleteObject(brush));  // still selected
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(SelectObject(dc, brush), nullptr);
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // stock: a harmless no-op
  EXPECT_NE(SelectObject(dc, GetStockObject(BLACK_BRUSH)), nullptr);
  ReleaseDC(h, dc);
}

TEST_F(GdiDisplayList, AnOwnDeviceContextKeepsItsStateACommonOneStartsAfresh) {
  struct Case {
    const char* className;
    bool same;
  } const cases[] = {{"PaintTestOwnDC", true}, {"PaintTest", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    HWND h = MakePainted(40, 40, c.className);
    HDC first = GetDC(h);
    SetTextColor(first, RGB(10, 20, 30));
    SetBkMode(first, TRANSPARENT);
    EXPECT_EQ(ReleaseDC(h, first), 1);
    HDC second = GetDC(h);
    EXPECT_EQ(second == first, c.same);
    EXPECT_EQ(SetTextColor(second, 0), c.same ? RGB(10, 20, 30) : RGB(0, 0, 0));
    EXPECT_EQ(GetBkMode(second), c.same ? TRANSPARENT : OPAQUE);
    ReleaseDC(h, second);
    if (!c.same) {
      EXPECT_FALSE(Rectangle(first, 0, 0, 1, 1));  // released: no longer a DC
    }
  }
}

TEST_F(GdiDisplayList, WhatWindowsDrawGoesToTheirOwnListsAndCanBeLeftUnrecorded) {
  HWND a = MakePainted();
  HWND b = MakePainted();
  HDC da = GetDC(a);
  HDC db = GetDC(b);
  Rectangle(da, 0, 0, 5, 5);
  LineTo(db, 3, 3);
  EXPECT_EQ(Ops(headless::DisplayList(a)), std::vector<std::string>{"Rectangle"});
  EXPECT_EQ(Ops(headless::DisplayList(b)), std::vector<std::string>{"LineTo"});

  EXPECT_TRUE(headless::RecordGdiCalls(false));
  Rectangle(da, 10, 10, 20, 20);
  EXPECT_FALSE(headless::RecordGdiCalls(true));
  EXPECT_EQ(headless::DisplayList(a).size(), 1u);
  // Drawn all the same.
  EXPECT_EQ(headless::Snapshot(a).At(10, 10), 0x000000u);
  ReleaseDC(a, da);
  ReleaseDC(b, db);

  HDC kept = GetDC(a);
  DestroyWindow(a);
  EXPECT_TRUE(headless::DisplayList(a).empty());
  EXPECT_EQ(GetDC(a), nullptr);
  // A context kept past its window draws nowhere, harmlessly.
  EXPECT_TRUE(Rectangle(kept, 0, 0, 5, 5));
  EXPECT_EQ(ReleaseDC(a, kept), 1);
}

TEST_F(GdiDisplayList, AttributesAnswerWithTheirPreviousValue) {
  HWND h = MakePainted();
  HDC dc = GetDC(h);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 99), 0);  // no such mode: refused, nothing changes
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(SetBkColor(dc, RGB(1, 1, 1)), RGB(255, 255, 255));
  EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
  POINT previous = {-1, -1};
  MoveToEx(dc, 4, 5, nullptr);
  LineTo(dc, 8, 9);
  MoveToEx(dc, 0, 0, &previous);
  EXPECT_EQ(previous.x, 8);  // LineTo moved the current position
  EXPECT_EQ(previous.y, 9);
  ReleaseDC(h, dc);
}

// A program drawing a picture a frame keeps no calls unless a test asks.
TEST(GdiDisplayListByDefault, KeepsNothing) {
  HWND h = CreateWindowExA(0, "Static", "", WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
  HDC dc = GetDC(h);
  Rectangle(dc, 0, 0, 5, 5);
  EXPECT_TRUE(headless::DisplayList(h).empty());
  {
    headless::KeepGdiCalls kept;
    Rectangle(dc, 0, 0, 5, 5);
  }
  Rectangle(dc, 0, 0, 5, 5);
  EXPECT_EQ(headless::DisplayList(h).size(), 1u);
  ReleaseDC(h, dc);
  DestroyWindow(h);
}

}  // namespace

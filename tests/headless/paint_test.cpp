// The painting protocol: invalid windows, erasing with the class brush,
// BeginPaint validating, RedrawWindow's flags, children and pictures.
#include "paint_window.h"

namespace {

using paint_test::PaintWindows;
using Painting = PaintWindows;

const std::vector<UINT> kPaintWithErase = {WM_PAINT, WM_ERASEBKGND};  // erase from BeginPaint
const std::vector<UINT> kPaintOnly = {WM_PAINT};
const std::vector<UINT> kNothing = {};

TEST_F(Painting, ANewWindowIsErasedWithItsClassBrushAndPaintedOnce) {
  HWND grey = Make(30, 20);
  HWND white = Make(30, 20, "PaintTestOwnDC");
  HWND hidden = Make(30, 20, "PaintTest", nullptr, 0, 0, 0);
  headless::PaintPending();
  EXPECT_EQ(HeardBy(grey), kPaintWithErase);
  EXPECT_EQ(HeardBy(white), kPaintWithErase);
  EXPECT_EQ(HeardBy(hidden), kNothing);  // not on screen: not painted
  EXPECT_EQ(headless::Snapshot(grey).At(29, 19), 0xC0C0C0u);
  EXPECT_EQ(headless::Snapshot(white).At(0, 0), 0xFFFFFFu);
  // The erase is a fill of the client area on the paint context.
  ASSERT_FALSE(headless::DisplayList(grey).empty());
  EXPECT_EQ(headless::DisplayList(grey)[0].op, "FillRect");
  EXPECT_EQ(headless::DisplayList(grey)[0].args, (std::vector<int>{0, 0, 30, 20}));
  heard.clear();
  headless::PaintPending();
  EXPECT_EQ(heard.size(), 0u);  // BeginPaint validated them
}

TEST_F(Painting, RedrawWindowFlagsDecideWhatIsPaintedAndErased) {
  struct Case {
    const char* name;
    UINT flags;
    std::vector<UINT> heard;
    bool emptyPaintRect;
  } const cases[] = {
      {"invalidate", RDW_INVALIDATE, kPaintOnly, false},
      {"invalidate and erase", RDW_INVALIDATE | RDW_ERASE, kPaintWithErase, false},
      {"internal paint only", RDW_INTERNALPAINT, kPaintOnly, true},
      {"erase alone does not invalidate", RDW_ERASE, kNothing, false},
      {"all three", RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE, kPaintWithErase, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = MakePainted();
    EXPECT_TRUE(RedrawWindow(h, nullptr, nullptr, c.flags));
    headless::PaintPending();
    EXPECT_EQ(HeardBy(h), c.heard);
    if (!paints.empty()) {
      RECT r = paints.back().rcPaint;
      EXPECT_EQ(r.right == 0 && r.bottom == 0, c.emptyPaintRect);
    }
  }
}

TEST_F(Painting, UpdateNowPaintsBeforeRedrawWindowReturns) {
  HWND h = MakePainted();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(HeardBy(h), kPaintWithErase);
  InvalidateRect(h, nullptr, FALSE);
  heard.clear();
  UpdateWindow(h);
  EXPECT_EQ(HeardBy(h), kPaintOnly);
}

TEST_F(Painting, InvalidRectanglesGatherAndBeginPaintHandsThemOverAndValidates) {
  HWND h = MakePainted();
  RECT a = {2, 3, 5, 6}, b = {10, 1, 12, 4};
  InvalidateRect(h, &a, FALSE);
  InvalidateRect(h, &b, FALSE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(h, &update, FALSE));
  EXPECT_EQ(update.left, 2);
  EXPECT_EQ(update.top, 1);
  EXPECT_EQ(update.right, 12);
  EXPECT_EQ(update.bottom, 6);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(ps.rcPaint.left, 2);
  EXPECT_EQ(ps.rcPaint.bottom, 6);
  EXPECT_FALSE(ps.fErase);
  EndPaint(h, &ps);
  EXPECT_FALSE(GetUpdateRect(h, &update, FALSE));
  RECT outside = {100, 100, 120, 120};
  InvalidateRect(h, &outside, TRUE);  // nothing of the window: nothing to paint
  EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
  InvalidateRect(h, nullptr, TRUE);
  ValidateRect(h, nullptr);
  headless::PaintPending();
  EXPECT_EQ(HeardBy(h), kNothing);
  // Asking with erase: the background is erased there and then, once.
  InvalidateRect(h, &a, TRUE);
  EXPECT_TRUE(GetUpdateRect(h, nullptr, TRUE));
  EXPECT_TRUE(GetUpdateRect(h, nullptr, TRUE));
  EXPECT_EQ(HeardBy(h), std::vector<UINT>{WM_ERASEBKGND});
}

TEST_F(Painting, AWindowThatNeverValidatesIsPaintedOncePerIdleLoop) {
  HWND h = MakePainted();
  onPaint = nullptr;
  InvalidateRect(h, nullptr, FALSE);
  // A procedure that answers WM_PAINT without BeginPaint leaves the window
  // invalid; the loop still ends.
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (current && msg == WM_PAINT) current->heard.push_back({nullptr, msg});
    return 0;
  }));
  headless::PaintPending();
  EXPECT_EQ(heard.size(), 1u);
  EXPECT_TRUE(GetUpdateRect(h, nullptr, FALSE));
}

TEST_F(Painting, ThePaintContextDrawsOnlyWhereTheWindowWasInvalid) {
  HWND h = MakePainted();
  onPaint = [](HWND hwnd, HDC dc) {
    RECT all;
    GetClientRect(hwnd, &all);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
  };
  RECT part = {5, 5, 10, 10};
  InvalidateRect(h, &part, FALSE);
  headless::PaintPending();
  headless::Image image = headless::Snapshot(h);
  EXPECT_EQ(image.At(5, 5), 0xFF0000u);
  EXPECT_EQ(image.At(9, 9), 0xFF0000u);
  EXPECT_EQ(image.At(10, 10), 0xC0C0C0u);
  EXPECT_EQ(image.At(0, 0), 0xC0C0C0u);
}

TEST_F(Painting, AWindowThatErasesNothingIsToldTheBackgroundIsStillToBeErased) {
  struct Case {
    const char* name;
    const char* className;
    LRESULT answer;
    bool fErase;
  } const cases[] = {
      {"class brush", "PaintTest", -1, false},
      {"no class brush", "PaintTestNoBrush", -1, true},
      {"erased by the window itself", "PaintTestNoBrush", 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    eraseAnswer = c.answer;
    Make(10, 10, c.className);
    headless::PaintPending();
    ASSERT_FALSE(paints.empty());
    EXPECT_EQ(paints.back().fErase != FALSE, c.fErase);
  }
}

TEST_F(Painting, InvalidatingAParentReachesItsChildrenUnlessItClipsThem) {
  struct Case {
    const char* name;
    DWORD parentStyle;
    UINT flags;
    bool childPainted;
  } const cases[] = {
      {"plain parent", WS_VISIBLE, RDW_INVALIDATE, true},
      {"clipping parent", WS_VISIBLE | WS_CLIPCHILDREN, RDW_INVALIDATE, false},
      {"clipping parent, all children", WS_VISIBLE | WS_CLIPCHILDREN,
       RDW_INVALIDATE | RDW_ALLCHILDREN, true},
      {"plain parent, no children", WS_VISIBLE, RDW_INVALIDATE | RDW_NOCHILDREN, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND parent = Make(40, 40, "PaintTest", nullptr, 0, 0, c.parentStyle);
    HWND child = Make(10, 10, "PaintTestOwnDC", parent, 5, 5);
    headless::PaintPending();
    heard.clear();
    RedrawWindow(parent, nullptr, nullptr, c.flags);
    headless::PaintPending();
    EXPECT_EQ(HeardBy(child) == kPaintOnly, c.childPainted);
    EXPECT_EQ(HeardBy(parent), kPaintOnly);
  }
}

TEST_F(Painting, APictureShowsVisibleChildrenOverTheParent) {
  HWND parent = Make(40, 30);
  HWND white = Make(10, 8, "PaintTestOwnDC", parent, 5, 6);
  HWND hidden = Make(10, 8, "PaintTestOwnDC", parent, 20, 6, 0);
  HWND grandchild = Make(4, 4, "PaintTestOwnDC", white, 2, 2);
  HWND bordered = Make(6, 6, "PaintTestOwnDC", parent, 30, 20, WS_VISIBLE | WS_BORDER);
  onPaint = [grandchild](HWND hwnd, HDC dc) {
    if (hwnd != grandchild) return;
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 0, 0, 4, 4);
  };
  headless::Image image = headless::Snapshot(parent);
  ASSERT_EQ(image.width, 40);
  ASSERT_EQ(image.height, 30);
  EXPECT_EQ(image.At(5, 6), 0xFFFFFFu);
  EXPECT_EQ(image.At(14, 13), 0xFFFFFFu);
  EXPECT_EQ(image.At(15, 14), 0xC0C0C0u);
  EXPECT_EQ(image.At(7, 8), 0x000000u);   // the grandchild, at 5 + 2, 6 + 2
  EXPECT_EQ(image.At(25, 10), 0xC0C0C0u);  // the hidden child is not there
  EXPECT_EQ(headless::Snapshot(white).width, 10);
  EXPECT_EQ(image.At(30, 20), 0x404040u);  // the border, around a 4 by 4 client area
  EXPECT_EQ(image.At(31, 21), 0xFFFFFFu);
  EXPECT_EQ(image.At(35, 25), 0x404040u);
  EXPECT_EQ(headless::Snapshot(bordered).width, 4);
  (void)hidden;
}

TEST_F(Painting, ClientAreasLeaveOutTheFrameAndCaption) {
  struct Case {
    const char* name;
    DWORD style;
    DWORD exStyle;
    int width, height;
  } const cases[] = {
      {"no frame", WS_POPUP, 0, 100, 80},
      {"border", WS_POPUP | WS_BORDER, 0, 98, 78},
      {"captioned", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 94, 55},
      {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, 96, 76},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = CreateWindowExA(c.exStyle, "PaintTest", "", c.style, 10, 10, 100, 80, nullptr,
                             nullptr, nullptr, nullptr);
    made.push_back(h);
    RECT client;
    ASSERT_TRUE(GetClientRect(h, &client));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.right, c.width);
    EXPECT_EQ(client.bottom, c.height);
    EXPECT_EQ(headless::Snapshot(h).height, c.height);
  }
  RECT r;
  EXPECT_FALSE(GetClientRect(nullptr, &r));
  EXPECT_EQ(headless::Snapshot(nullptr).width, 0);
}

}  // namespace

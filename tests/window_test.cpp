// The window wrapper: the shared class's life, creation, message routing and
// what survives the user closing a window.
#include "window.h"

#include <gtest/gtest.h>
#include <headless.h>
#include <headless_gdi.h>

#include <memory>
#include <string>
#include <vector>

#include "mirova.h"

namespace {

class Recorder : public Window {
 public:
  std::vector<UINT> heard;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    heard.push_back(message);
    return Window::WindowProc(message, wParam, lParam);
  }
  ~Recorder() override {
    if (hWnd) DestroyWindow(hWnd);
  }
  bool Heard(UINT message) const {
    for (UINT m : heard)
      if (m == message) return true;
    return false;
  }
};

bool ClassRegistered() {
  WNDCLASSA wc;
  return GetClassInfoA(hInstance, windowClassName, &wc) != 0;
}

const DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU;

TEST(WindowTest, ClassLivesFromTheFirstObjectToTheLast) {
  ASSERT_FALSE(ClassRegistered());
  auto first = std::make_unique<Recorder>();
  EXPECT_TRUE(ClassRegistered());
  auto second = std::make_unique<Recorder>();
  EXPECT_EQ(windowCount, 2);
  ASSERT_TRUE(second->Create("two", 0, kPopup, 0, 0, 100, 100, nullptr));
  first.reset();
  EXPECT_TRUE(ClassRegistered());
  second.reset();
  EXPECT_FALSE(ClassRegistered());
  EXPECT_EQ(windowCount, 0);
}

TEST(WindowTest, ClassHasTheLibrarysLook) {
  Recorder w;
  WNDCLASSA wc;
  ASSERT_TRUE(GetClassInfoA(hInstance, windowClassName, &wc));
  EXPECT_EQ(wc.style, 0x3020u);
  EXPECT_EQ(wc.hbrBackground, GetStockObject(LTGRAY_BRUSH));
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
}

TEST(WindowTest, SecondCreateKeepsTheOneWindow) {
  Recorder w;
  ASSERT_TRUE(w.Create("one", 0, kPopup, 0, 0, 100, 100, nullptr));
  HWND made = w.hWnd;
  EXPECT_TRUE(w.Create("again", 0, kPopup, 0, 0, 100, 100, nullptr));
  EXPECT_EQ(w.hWnd, made);
  EXPECT_EQ(w.GetText(), CStr("one"));
}

TEST(WindowTest, MessagesBeforeCreateAndAfterDestroyMissTheObject) {
  Recorder w;
  ASSERT_TRUE(w.Create("w", 0, kPopup, 0, 0, 100, 100, nullptr));
  ASSERT_FALSE(w.heard.empty());
  EXPECT_EQ(w.heard.front(), static_cast<UINT>(WM_CREATE));
  EXPECT_FALSE(w.Heard(WM_NCCREATE));
  HWND old = w.hWnd;
  DestroyWindow(old);
  EXPECT_EQ(w.heard.back(), static_cast<UINT>(WM_DESTROY));
  EXPECT_EQ(w.hWnd, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(old, GWLP_USERDATA), 0);
}

TEST(WindowTest, ClosedWindowLeavesObjectReadyForANewOne) {
  Recorder w;
  ASSERT_TRUE(w.Create("w", 0, kPopup, 0, 0, 100, 100, nullptr));
  HWND first = w.hWnd;
  w.Destroy();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(w.hWnd, nullptr);
  EXPECT_FALSE(w.IsEnabled());
  ASSERT_TRUE(w.Create("w", 0, kPopup, 0, 0, 100, 100, nullptr));
  EXPECT_TRUE(IsWindow(w.hWnd));
}

TEST(WindowTest, OwnerDestroyedTakesTheWindowAndClearsHandle) {
  Recorder owner, owned;
  ASSERT_TRUE(owner.Create("owner", 0, kPopup, 0, 0, 100, 100, nullptr));
  ASSERT_TRUE(owned.Create("owned", 0, kPopup, 0, 0, 100, 100, owner.hWnd));
  owner.Destroy();
  EXPECT_EQ(owned.hWnd, nullptr);
  EXPECT_TRUE(owned.Heard(WM_DESTROY));
}

TEST(WindowTest, DisablingInvalidatesWithTheBackground) {
  Recorder w;
  ASSERT_TRUE(w.Create("w", 0, kPopup, 0, 0, 100, 100, nullptr));
  w.Show();
  headless::PaintPending();
  w.heard.clear();
  w.Enable(FALSE);
  EXPECT_FALSE(IsWindowEnabled(w.hWnd));
  EXPECT_FALSE(w.IsEnabled());
  EXPECT_TRUE(w.Heard(WM_ENABLE));
  headless::PaintPending();
  EXPECT_TRUE(w.Heard(WM_ERASEBKGND));
  EXPECT_TRUE(w.Heard(WM_PAINT));
}

TEST(WindowTest, TransparentWindowKeepsItsBackground) {
  struct Case {
    DWORD exStyle;
    LRESULT erased;
  } cases[] = {{0, 1}, {WS_EX_TRANSPARENT, 1}};
  headless::KeepGdiCalls kept;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exStyle);
    Recorder w;
    ASSERT_TRUE(w.Create("w", c.exStyle, kPopup, 0, 0, 100, 100, nullptr));
    HDC dc = GetDC(w.hWnd);
    headless::ClearDisplayList(w.hWnd);
    EXPECT_EQ(SendMessageA(w.hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), c.erased);
    EXPECT_EQ(headless::DisplayList(w.hWnd).empty(), c.exStyle == WS_EX_TRANSPARENT);
    ReleaseDC(w.hWnd, dc);
  }
}

TEST(WindowTest, TextComesBackCutTo255Characters) {
  Recorder w;
  ASSERT_TRUE(w.Create("w", 0, kPopup, 0, 0, 100, 100, nullptr));
  for (size_t n : {0u, 255u, 256u, 400u}) {
    SCOPED_TRACE(n);
    std::string text(n, 'x');
    w.SetText(text.c_str());
    EXPECT_EQ(std::string(w.GetText().data()), text.substr(0, 255));
  }
}

}  // namespace

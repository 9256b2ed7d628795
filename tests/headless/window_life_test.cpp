// A window's life in the stand-in: classes per instance, creation that the
// window itself refuses, enabling and showing, and windows owned through a
// child.
#include <gtest/gtest.h>
#include <headless.h>

#include <vector>

namespace {

// The answers the test window gives to its creation messages.
LRESULT ncCreateAnswer = TRUE;
LRESULT createAnswer = 0;
std::vector<std::pair<UINT, WPARAM>>* lifeLog = nullptr;

LRESULT CALLBACK LifeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (lifeLog && msg != WM_GETTEXT && msg != WM_GETTEXTLENGTH) lifeLog->push_back({msg, wParam});
  if (msg == WM_NCCREATE) {
    DefWindowProcA(hwnd, msg, wParam, lParam);
    return ncCreateAnswer;
  }
  if (msg == WM_CREATE) return createAnswer;
  if (msg == WM_CLOSE && GetWindowLongPtrA(hwnd, GWLP_USERDATA) == 1) return 0;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class WindowLife : public testing::Test {
 protected:
  void SetUp() override {
    ncCreateAnswer = TRUE;
    createAnswer = 0;
    ASSERT_NE(Register(nullptr), 0);
    lifeLog = &log;
  }
  void TearDown() override {
    for (HWND h : made)
      if (IsWindow(h)) DestroyWindow(h);
    lifeLog = nullptr;
    EXPECT_TRUE(UnregisterClassA("TestLife", nullptr));
  }
  static ATOM Register(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LifeProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TestLife";
    return RegisterClassA(&wc);
  }
  HWND Make(DWORD style, HWND parent = nullptr, HINSTANCE instance = nullptr) {
    HWND h = CreateWindowExA(WS_EX_TRANSPARENT, "TestLife", "life", style, 0, 0, 10, 10, parent,
                             nullptr, instance, nullptr);
    made.push_back(h);
    return h;
  }
  std::vector<UINT> Messages() const {
    std::vector<UINT> seen;
    for (auto& entry : log) seen.push_back(entry.first);
    return seen;
  }
  std::vector<std::pair<UINT, WPARAM>> log;
  std::vector<HWND> made;
};

TEST_F(WindowLife, ClassesBelongToTheirInstance) {
  auto other = reinterpret_cast<HINSTANCE>(0x5000);
  EXPECT_NE(Register(other), 0);  // the same name for another module is another class
  EXPECT_EQ(Register(other), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  HWND h = Make(WS_POPUP, nullptr, other);
  ASSERT_TRUE(h);
  EXPECT_FALSE(UnregisterClassA("TestLife", other));  // it has a window
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  EXPECT_TRUE(UnregisterClassA("TestLife", nullptr));  // the other one has none
  EXPECT_NE(Register(nullptr), 0);
  DestroyWindow(h);
  EXPECT_TRUE(UnregisterClassA("TestLife", other));
  EXPECT_FALSE(UnregisterClassA("TestLife", other));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));

  WNDCLASSA nameless = {};
  nameless.lpfnWndProc = LifeProc;
  EXPECT_EQ(RegisterClassA(&nameless), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(WindowLife, AWindowThatRefusesItsCreationIsGoneBeforeCreateWindowReturns) {
  const struct {
    const char* name;
    LRESULT ncCreate, create;
    bool created;
    std::vector<UINT> messages;
  } cases[] = {
      {"accepted", TRUE, 0, true, {WM_NCCREATE, WM_CREATE}},
      {"WM_NCCREATE says FALSE", FALSE, 0, false, {WM_NCCREATE, WM_NCDESTROY}},
      {"WM_CREATE says -1", TRUE, -1, false, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ncCreateAnswer = c.ncCreate;
    createAnswer = c.create;
    log.clear();
    HWND h = Make(WS_POPUP);
    EXPECT_EQ(h != nullptr, c.created);
    EXPECT_EQ(Messages(), c.messages);
    if (h) DestroyWindow(h);
  }
  // No half-made window keeps the class alive (TearDown unregisters it).
}

TEST_F(WindowLife, EnablingAndShowingTellTheWindowOnlyOfChanges) {
  HWND h = Make(WS_POPUP);
  log.clear();
  const struct {
    const char* name;
    bool (*act)(HWND);
    bool result;
    std::vector<std::pair<UINT, WPARAM>> heard;
    bool enabled, visible;
  } steps[] = {
      {"disable", [](HWND w) { return EnableWindow(w, FALSE) != 0; }, false, {{WM_ENABLE, FALSE}},
       false, false},
      {"disable again", [](HWND w) { return EnableWindow(w, FALSE) != 0; }, true, {}, false, false},
      {"show", [](HWND w) { return ShowWindow(w, SW_SHOW) != 0; }, false, {{WM_SHOWWINDOW, TRUE}},
       false, true},
      {"show again", [](HWND w) { return ShowWindow(w, SW_SHOW) != 0; }, true, {}, false, true},
      {"enable", [](HWND w) { return EnableWindow(w, TRUE) != 0; }, true, {{WM_ENABLE, TRUE}}, true,
       true},
      {"hide", [](HWND w) { return ShowWindow(w, SW_HIDE) != 0; }, true, {{WM_SHOWWINDOW, FALSE}},
       true, false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    log.clear();
    EXPECT_EQ(s.act(h), s.result);
    EXPECT_EQ(log, s.heard);
    EXPECT_EQ(IsWindowEnabled(h) != 0, s.enabled);
    EXPECT_EQ(IsWindowVisible(h) != 0, s.visible);
    LONG style = GetWindowLongA(h, GWL_STYLE);
    EXPECT_EQ((style & WS_DISABLED) == 0, s.enabled);
    EXPECT_EQ((style & WS_VISIBLE) != 0, s.visible);
  }
  EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE), WS_EX_TRANSPARENT);
  EXPECT_FALSE(IsWindowEnabled(reinterpret_cast<HWND>(0x1234)));
}

TEST_F(WindowLife, APopUpMadeOverAChildIsOwnedByItsTopLevelWindow) {
  HWND top = Make(WS_POPUP);
  HWND page = Make(WS_CHILD, top);
  HWND view = Make(WS_POPUP | WS_CAPTION, page);
  EXPECT_EQ(GetWindow(view, GW_OWNER), top);
  EXPECT_EQ(GetParent(view), top);

  // Going with the child leaves it; going with the top-level window takes it.
  DestroyWindow(page);
  EXPECT_TRUE(IsWindow(view));
  log.clear();
  DestroyWindow(top);
  EXPECT_FALSE(IsWindow(view));
}

TEST_F(WindowLife, TheCloseBoxClosesOnlyACaptionedWindowTheUserCanReach) {
  const struct {
    const char* name;
    DWORD style;
    void (*arrange)(HWND);
    bool pressed, closed;
  } cases[] = {
      {"captioned pop-up", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, [](HWND) {}, true, true},
      {"no close box", WS_POPUP | WS_CAPTION | WS_VISIBLE, [](HWND) {}, false, false},
      {"hidden", WS_POPUP | WS_CAPTION | WS_SYSMENU, [](HWND) {}, false, false},
      {"disabled", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
       [](HWND h) { EnableWindow(h, FALSE); }, false, false},
      {"refuses WM_CLOSE", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
       [](HWND h) { SetWindowLongPtrA(h, GWLP_USERDATA, 1); }, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = Make(c.style);
    c.arrange(h);
    log.clear();
    EXPECT_EQ(headless::PressCloseBox(h), c.pressed);
    EXPECT_EQ(!IsWindow(h), c.closed);
    std::vector<UINT> heard = Messages();
    std::vector<UINT> expected;
    if (c.pressed) expected = {WM_SYSCOMMAND, WM_CLOSE};
    if (c.closed) expected.insert(expected.end(), {WM_DESTROY, WM_NCDESTROY});
    EXPECT_EQ(heard, expected);
  }
  HWND top = Make(WS_POPUP | WS_SYSMENU | WS_VISIBLE);
  EXPECT_FALSE(headless::PressCloseBox(Make(WS_CHILD | WS_SYSMENU | WS_VISIBLE, top)));
}

}  // namespace

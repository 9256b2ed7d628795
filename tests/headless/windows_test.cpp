// Windows of the stand-in: classes, creation, window data, focus and the
// order in which a window tree is destroyed.
#include <gtest/gtest.h>
#include <headless.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Every message a window of the test class receives, in order.
std::vector<std::pair<HWND, UINT>>* messageLog = nullptr;
// Whether each window of the log was still whole when it heard WM_DESTROY.
std::vector<bool>* wholeAtDestroy = nullptr;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (messageLog) messageLog->push_back({hwnd, msg});
  if (msg == WM_DESTROY && wholeAtDestroy) {
    bool whole = IsWindow(hwnd) && GetWindowLongPtrA(hwnd, GWLP_USERDATA) == 42;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      whole = whole && IsWindow(child);
    wholeAtDestroy->push_back(whole);
  }
  if (msg == WM_CREATE) {
    auto cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    if (cs->lpCreateParams) *static_cast<int*>(cs->lpCreateParams) += 1;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Windows : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LoggingProc;
    wc.lpszClassName = "TestLogging";
    ASSERT_NE(RegisterClassA(&wc), 0);
    messageLog = &log;
  }
  void TearDown() override {
    for (HWND h : made)
      if (IsWindow(h)) DestroyWindow(h);
    messageLog = nullptr;
    wholeAtDestroy = nullptr;
    EXPECT_TRUE(UnregisterClassA("TestLogging", nullptr));
  }
  HWND Make(HWND parent, DWORD style = WS_VISIBLE, int id = 0) {
    if (parent) style |= WS_CHILD;
    HWND h = CreateWindowExA(0, "TestLogging", "a window", style, 0, 0, 10, 10, parent,
                             reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, 42);
    made.push_back(h);
    return h;
  }
  std::vector<UINT> MessagesOf(HWND h, UINT only1, UINT only2 = 0) const {
    std::vector<UINT> seen;
    for (auto& entry : log)
      if (entry.first == h && (entry.second == only1 || entry.second == only2))
        seen.push_back(entry.second);
    return seen;
  }
  std::vector<std::pair<HWND, UINT>> log;
  std::vector<HWND> made;
};

TEST_F(Windows, ClassesAreRegisteredOnceAndOutliveNoWindow) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = LoggingProc;
  wc.lpszClassName = "testlogging";  // names do not depend on case
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  HWND h = Make(nullptr);
  EXPECT_FALSE(UnregisterClassA("TestLogging", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(h);
  EXPECT_FALSE(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                               nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(Windows, CreationSendsNcCreateThenCreateAndSetsTheText) {
  int created = 0;
  HWND h = CreateWindowExA(0, "TestLogging", "Title", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           &created);
  made.push_back(h);
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(created, 1);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0].second, static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(log[1].second, static_cast<UINT>(WM_CREATE));
  char text[3];
  EXPECT_EQ(GetWindowTextA(h, text, sizeof text), 2);  // cut to the buffer
  EXPECT_STREQ(text, "Ti");
  EXPECT_EQ(GetWindowTextLengthA(h), 5);

  // A child window needs a parent.
  EXPECT_FALSE(CreateWindowExA(0, "TestLogging", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
}

TEST_F(Windows, WindowDataHoldsWholePointersWhileTheLongFormCutsThem) {
  HWND h = Make(nullptr);
  LONG_PTR pointer = reinterpret_cast<LONG_PTR>(this);
  EXPECT_EQ(SetWindowLongPtrA(h, GWLP_USERDATA, pointer), 42);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), pointer);
  SetWindowLongA(h, GWL_USERDATA, 7);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), 7);
  HWND child = Make(h, WS_VISIBLE, 1234);
  EXPECT_EQ(GetDlgCtrlID(child), 1234);
  EXPECT_EQ(GetParent(child), h);
  EXPECT_TRUE(IsChild(h, child));
  EXPECT_EQ(GetWindowLongPtrA(reinterpret_cast<HWND>(0x1234), GWLP_USERDATA), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Windows, ATreeHearsWmDestroyTopDownWhileWholeAndDiesBottomUp) {
  std::vector<bool> whole;
  wholeAtDestroy = &whole;
  HWND top = Make(nullptr);
  HWND a = Make(top), b = Make(top);
  HWND a1 = Make(a);
  HWND owned = CreateWindowExA(0, "TestLogging", "", WS_POPUP, 0, 0, 1, 1, top, nullptr, nullptr,
                               nullptr);
  SetWindowLongPtrA(owned, GWLP_USERDATA, 42);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), top);
  log.clear();

  ASSERT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> expected = {
      {owned, WM_DESTROY}, {owned, WM_NCDESTROY},  // owned windows go first
      {top, WM_DESTROY},   {a, WM_DESTROY},        {a1, WM_DESTROY},    {b, WM_DESTROY},
      {a1, WM_NCDESTROY},  {a, WM_NCDESTROY},      {b, WM_NCDESTROY},   {top, WM_NCDESTROY}};
  std::vector<std::pair<HWND, UINT>> destruction;
  for (auto& entry : log)
    if (entry.second == WM_DESTROY || entry.second == WM_NCDESTROY) destruction.push_back(entry);
  EXPECT_EQ(destruction, expected);
  EXPECT_EQ(whole, std::vector<bool>(5, true));
  for (HWND h : {top, a, b, a1, owned}) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyWindow(top));
}

TEST_F(Windows, FocusMovesWithKillFocusFirstAndLeavesADyingTreeBeforeItsDestruction) {
  HWND top = Make(nullptr);
  HWND a = Make(top), b = Make(top);
  SetFocus(a);
  log.clear();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(log, (std::vector<std::pair<HWND, UINT>>{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}));
  EXPECT_EQ(GetFocus(), b);

  // Disabling the focused window drops the focus.
  EnableWindow(b, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(b, TRUE));  // it was disabled

  SetFocus(b);
  log.clear();
  DestroyWindow(top);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), std::make_pair(b, static_cast<UINT>(WM_KILLFOCUS)));
  EXPECT_EQ(GetFocus(), nullptr);
}

}  // namespace

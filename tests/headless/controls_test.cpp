// The built-in controls and the headless user at them: what the parent hears
// and in which state the control is when it hears it.
#include <gtest/gtest.h>
#include <headless.h>

#include <string>
#include <vector>

namespace {

struct Notification {
  int id;
  WORD code;
  std::string text;  // the control's text as the parent heard of it
  UINT check;        // and its check state
  bool operator==(const Notification& n) const {
    return id == n.id && code == n.code && text == n.text && check == n.check;
  }
};

std::vector<Notification>* heard = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && heard) {
    HWND control = reinterpret_cast<HWND>(lParam);
    char text[64] = "";
    GetWindowTextA(control, text, sizeof text);
    heard->push_back({LOWORD(wParam), HIWORD(wParam), text,
                      static_cast<UINT>(SendMessageA(control, BM_GETCHECK, 0, 0))});
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Controls : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = "TestParent";
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "TestParent", "", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    heard = &log;
  }
  void TearDown() override {
    heard = nullptr;
    DestroyWindow(parent);
    UnregisterClassA("TestParent", nullptr);
  }
  HWND Add(const char* cls, const char* text, DWORD style, int id) {
    return CreateWindowExA(0, cls, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
  std::vector<Notification> Codes(WORD code) const {
    std::vector<Notification> out;
    for (const Notification& n : log)
      if (n.code == code) out.push_back(n);
    return out;
  }
  HWND parent = nullptr;
  std::vector<Notification> log;
};

TEST_F(Controls, AnEditAnnouncesEveryChangeOfItsText) {
  Add("Edit", "30", ES_NUMBER | WS_TABSTOP, 7);
  SetDlgItemTextA(parent, 7, "45");
  EXPECT_EQ(Codes(EN_CHANGE), (std::vector<Notification>{{7, EN_CHANGE, "45", 0}}));

  log.clear();
  ASSERT_TRUE(headless::Type(parent, 7, "2x5"));  // the letter is refused
  EXPECT_EQ(headless::Text(parent, 7), "25");
  EXPECT_EQ(Codes(EN_SETFOCUS).size(), 1u);
  std::vector<Notification> changes = Codes(EN_CHANGE);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].text, "2");
  EXPECT_EQ(changes[1].text, "25");

  log.clear();
  ASSERT_TRUE(headless::Type(parent, 7, ""));  // select all, delete
  EXPECT_EQ(Codes(EN_CHANGE), (std::vector<Notification>{{7, EN_CHANGE, "", 0}}));
  EXPECT_TRUE(Codes(EN_SETFOCUS).empty());  // it kept the focus

  log.clear();
  headless::TakeFocus();
  EXPECT_EQ(Codes(EN_KILLFOCUS).size(), 1u);
}

TEST_F(Controls, ButtonsChangeStateBeforeTheParentHearsTheClick) {
  struct Case {
    const char* name;
    DWORD style;
    std::vector<UINT> statesAfterClicks;  // the state the parent sees, click by click
  };
  const Case cases[] = {
      {"push button", BS_PUSHBUTTON, {0, 0}},
      {"auto check box", BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED}},
      {"plain check box", BS_CHECKBOX, {0, 0}},
      {"auto three-state", BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
  };
  int id = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND button = Add("Button", c.name, c.style, ++id);
    log.clear();
    for (size_t i = 0; i < c.statesAfterClicks.size(); ++i) {
      ASSERT_TRUE(headless::Click(parent, id));
      ASSERT_EQ(log.size(), i + 1);
      EXPECT_EQ(log[i].code, BN_CLICKED);
      EXPECT_EQ(log[i].check, c.statesAfterClicks[i]);
    }
    EXPECT_EQ(GetFocus(), button);
    EnableWindow(button, FALSE);
    EXPECT_FALSE(headless::Click(parent, id));
    EXPECT_EQ(log.size(), c.statesAfterClicks.size());
  }
  // Setting the state by program says nothing to the parent.
  log.clear();
  CheckDlgButton(parent, 102, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(parent, 102), static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(headless::Click(parent, 999));
}

TEST_F(Controls, AutomaticRadioButtonsExcludeEachOtherWithinTheirGroup) {
  Add("Button", "a", BS_AUTORADIOBUTTON | WS_GROUP, 1);
  Add("Button", "b", BS_AUTORADIOBUTTON, 2);
  Add("Button", "c", BS_AUTORADIOBUTTON, 3);
  Add("Button", "d", BS_AUTORADIOBUTTON | WS_GROUP, 4);
  headless::Click(parent, 4);
  headless::Click(parent, 1);
  headless::Click(parent, 3);
  std::vector<UINT> states;
  for (int id = 1; id <= 4; ++id) states.push_back(headless::CheckState(parent, id));
  EXPECT_EQ(states, (std::vector<UINT>{0, 0, BST_CHECKED, BST_CHECKED}));
}

}  // namespace

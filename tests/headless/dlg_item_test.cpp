// Finding a dialog's controls by id: GetDlgItem keeps up with children that
// come, go and change their ids, and the text a control is given is the text
// it reports.
#include <gtest/gtest.h>
#include <headless.h>

#include <string>
#include <vector>

namespace {

class DlgItem : public testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowExA(0, "Static", "parent", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
  }
  HWND Child(int id, HWND under = nullptr) {
    return CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, under ? under : parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
  HWND parent = nullptr;
};

TEST_F(DlgItem, FindsEachChildByItsIdAndNoneForAnUnknownId) {
  std::vector<HWND> children;
  for (int id = 100; id < 140; ++id) children.push_back(Child(id));
  for (int i = 0; i < 40; ++i) EXPECT_EQ(GetDlgItem(parent, 100 + i), children[i]) << "id " << 100 + i;
  SetLastError(0);
  EXPECT_EQ(GetDlgItem(parent, 99), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
}

TEST_F(DlgItem, ADuplicateIdGivesTheFirstInZOrderAsLongAsItLives) {
  HWND first = Child(7), second = Child(7), third = Child(7);
  EXPECT_EQ(GetDlgItem(parent, 7), first);
  DestroyWindow(first);
  EXPECT_EQ(GetDlgItem(parent, 7), second);
  // A later child with the id does not take the place of an earlier one.
  HWND fourth = Child(7);
  EXPECT_EQ(GetDlgItem(parent, 7), second);
  DestroyWindow(second);
  DestroyWindow(third);
  EXPECT_EQ(GetDlgItem(parent, 7), fourth);
  DestroyWindow(fourth);
  EXPECT_EQ(GetDlgItem(parent, 7), nullptr);
}

TEST_F(DlgItem, AChangedIdIsFoundUnderTheNewIdOnly) {
  HWND a = Child(1), b = Child(2);
  ASSERT_EQ(GetDlgItem(parent, 1), a);  // the index is made before the change
  EXPECT_EQ(SetWindowLongPtrA(a, GWLP_ID, 3), 1);
  EXPECT_EQ(GetDlgItem(parent, 1), nullptr);
  EXPECT_EQ(GetDlgItem(parent, 3), a);
  // Taking a sibling's id: the one first in z-order wins, whichever changed.
  SetWindowLongPtrA(b, GWLP_ID, 3);
  EXPECT_EQ(GetDlgItem(parent, 3), a);
  SetWindowLongPtrA(a, GWLP_ID, 4);
  EXPECT_EQ(GetDlgItem(parent, 3), b);
  EXPECT_EQ(GetDlgItem(parent, 4), a);
}

TEST_F(DlgItem, OnlyDirectChildrenAreFoundAndAGoneParentFindsNothing) {
  HWND group = Child(10);
  HWND inner = Child(11, group);
  EXPECT_EQ(GetDlgItem(parent, 11), nullptr);
  EXPECT_EQ(GetDlgItem(group, 11), inner);
  // Destroying a child takes its own children (and their ids) with it.
  DestroyWindow(group);
  EXPECT_EQ(GetDlgItem(parent, 10), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetDlgItem(group, 11), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DlgItem, TextSetOverAndOverReadsBackWhole) {
  Child(5);
  const char* texts[] = {"0", "100", "", "a much longer text than any before it", "7"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(SetDlgItemTextA(parent, 5, text));
    char back[64] = "junk";
    EXPECT_EQ(GetDlgItemTextA(parent, 5, back, sizeof back), std::string(text).size());
    EXPECT_STREQ(back, text);
    EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(parent, 5)), static_cast<int>(std::string(text).size()));
  }
  EXPECT_FALSE(SetDlgItemTextA(parent, 6, "no such control"));
}

}  // namespace

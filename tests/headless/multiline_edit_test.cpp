// The "EDIT" class as a multi-line text box beside its single-line form: line
// breaks kept as CR LF, typed with Enter, and which changes the parent hears.
#include <gtest/gtest.h>
#include <headless.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<WORD>* editCodes = nullptr;

LRESULT CALLBACK EditParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && editCodes) editCodes->push_back(HIWORD(wParam));
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class MultiLineEdit : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = EditParentProc;
    wc.lpszClassName = "TestEditParent";
    ASSERT_NE(RegisterClassA(&wc), 0);
    parent = CreateWindowExA(0, "TestEditParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300,
                             nullptr, nullptr, nullptr, nullptr);
    editCodes = &codes;
  }
  void TearDown() override {
    DestroyWindow(parent);
    editCodes = nullptr;
    EXPECT_TRUE(UnregisterClassA("TestEditParent", nullptr));
  }
  HWND MakeEdit(DWORD style, int id) {
    return CreateWindowExA(0, "EDIT", nullptr, WS_CHILD | WS_VISIBLE | style, 5, 30, 230, 600,
                           parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr,
                           nullptr);
  }
  HWND parent = nullptr;
  std::vector<WORD> codes;
};

TEST_F(MultiLineEdit, TheProgramsTextKeepsItsLineBreaksAndOnlyASingleLineBoxAnnouncesIt) {
  const std::string text = "Markers: 2\r\nSamples: 10\r\n\r\nlast line";
  const struct {
    const char* name;
    DWORD style;
    std::vector<WORD> heard;
    LRESULT lines;
  } cases[] = {
      {"multi-line", ES_MULTILINE | ES_AUTOVSCROLL, {}, 4},
      {"single-line", ES_AUTOHSCROLL, {EN_UPDATE, EN_CHANGE}, 1},
  };
  int id = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = MakeEdit(c.style, id++);
    ASSERT_TRUE(edit);
    codes.clear();
    EXPECT_TRUE(SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
    EXPECT_EQ(codes, c.heard);
    EXPECT_EQ(headless::Text(edit), text);
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(text.size()));
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), c.lines);
  }
  EXPECT_EQ(headless::Text(reinterpret_cast<HWND>(0x1234)), "");
}

TEST_F(MultiLineEdit, EnterStartsALineOnlyWhereThereAreLines) {
  const struct {
    const char* name;
    DWORD style;
    std::string typed, shown;
    size_t changes;  // one per key that changed the text
  } cases[] = {
      {"multi-line, LF", ES_MULTILINE, "one\ntwo", "one\r\ntwo", 7},
      {"multi-line, CR LF", ES_MULTILINE, "one\r\ntwo\n", "one\r\ntwo\r\n", 8},
      {"single-line", 0, "one\ntwo", "onetwo", 6},
  };
  int id = 10;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = MakeEdit(c.style, id);
    ASSERT_TRUE(edit);
    SetWindowTextA(edit, "old text");
    codes.clear();
    EXPECT_TRUE(headless::Type(parent, id, c.typed));
    EXPECT_EQ(headless::Text(parent, id), c.shown);
    EXPECT_EQ(static_cast<size_t>(std::count(codes.begin(), codes.end(), EN_CHANGE)), c.changes);
    ++id;
  }
}

}  // namespace

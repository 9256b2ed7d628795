// Dialogs from resource scripts, the open-file dialog and the cursor.
#include <commdlg.h>
#include <gtest/gtest.h>
#include <headless.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../../headless/win32/src/resource_script.h"

namespace {

using headless::detail::ParseResourceScript;
using headless::detail::ResourceScript;

// Scripts as the preprocessor leaves them: ids and styles are numbers.
TEST(ResourceScript, ControlStatementsAddTheirDefaultStylesAndNotTakesThemAway) {
  ResourceScript script = ParseResourceScript(R"(
#pragma code_page(1252)
7 DIALOG DISCARDABLE 1, 2, 108, 301
STYLE 0x40L | 0x40000000L
CAPTION "A ""quoted"" title"
FONT 8, "Arial"
BEGIN
    LTEXT "left", (-1), 21, 4, 65, 8
    PUSHBUTTON "Open...", 1136, 37, 63, 36, 13, NOT 0x00010000L
    EDITTEXT 1140, 53, 118, 30, 12, 0x0002L | 0x2000L
    AUTOCHECKBOX "East", 1144, 13, 172, 78, 10
    CONTROL "Custom", 12, "CustEdit", 0x00010000L, 1, 2, 3, 4, 0x200
END
)");
  ASSERT_EQ(script.error, "");
  const headless::detail::DialogTemplate* d = script.FindDialog(MAKEINTRESOURCE(7));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(script.FindDialog("#7"), d);
  EXPECT_EQ(d->style, static_cast<DWORD>(DS_SETFONT | WS_CHILD | WS_CAPTION));
  EXPECT_EQ(d->caption, "A \"quoted\" title");
  EXPECT_EQ(d->fontSize, 8);
  EXPECT_EQ(d->fontFace, "Arial");
  EXPECT_EQ(d->rect.left, 1);
  EXPECT_EQ(d->rect.bottom, 301);

  struct Expected {
    const char* className;
    int id;
    DWORD style;
    DWORD exStyle;
  };
  const DWORD kChild = WS_CHILD | WS_VISIBLE;
  const Expected expected[] = {
      {"Static", 0xFFFF, kChild | SS_LEFT | WS_GROUP, 0},
      {"Button", 1136, kChild | BS_PUSHBUTTON, 0},
      {"Edit", 1140, kChild | WS_BORDER | WS_TABSTOP | ES_RIGHT | ES_NUMBER, 0},
      {"Button", 1144, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
      {"CustEdit", 12, kChild | WS_TABSTOP, WS_EX_CLIENTEDGE},
  };
  ASSERT_EQ(d->items.size(), std::size(expected));
  for (size_t i = 0; i < d->items.size(); ++i) {
    SCOPED_TRACE(d->items[i].text);
    EXPECT_EQ(d->items[i].className, expected[i].className);
    EXPECT_EQ(d->items[i].id, expected[i].id);
    EXPECT_EQ(d->items[i].style, expected[i].style);
    EXPECT_EQ(d->items[i].exStyle, expected[i].exStyle);
  }
  EXPECT_EQ(d->items[4].rect.right, 3);
}

TEST(ResourceScript, MenusAreReadAndOtherResourcesSkipped) {
  ResourceScript script = ParseResourceScript(R"(
1 VERSIONINFO
 FILEVERSION 1,0,0,0
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        VALUE "FileVersion", "1.1\0"
    END
END
118 MENU
BEGIN
    POPUP "&View"
    BEGIN
        MENUITEM "&Markers\tM", 40001, CHECKED
        MENUITEM SEPARATOR
        MENUITEM "&Labels", 40002, GRAYED
    END
END
)");
  ASSERT_EQ(script.error, "");
  const headless::detail::MenuTemplate* menu = script.FindMenu(MAKEINTRESOURCE(118));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items.size(), 1u);
  const headless::detail::MenuItemTemplate& popup = menu->items[0];
  EXPECT_EQ(popup.flags, static_cast<UINT>(MF_POPUP));
  ASSERT_EQ(popup.items.size(), 3u);
  EXPECT_EQ(popup.items[0].text, "&Markers\tM");
  EXPECT_EQ(popup.items[0].id, 40001);
  EXPECT_EQ(popup.items[0].flags, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(popup.items[1].flags, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(popup.items[2].flags, static_cast<UINT>(MF_GRAYED));
}

TEST(ResourceScript, ReportsWhatItCannotReadWithTheLine) {
  const struct {
    const char* script;
    const char* error;
  } cases[] = {
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  SLIDER 1, 2, 3, 4, 5\nEND\n",
       "line 3: unknown control statement at 'SLIDER'"},
      {"1 DIALOG 0, 0, 10\nBEGIN\nEND\n", "line 2: expected ',' at 'BEGIN'"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"open\n", "line 3: unterminated string"},
      {"2 WIDGET\n", "line 1: unknown resource type at 'WIDGET'"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"x\", IDC_X, 1, 2, 3, 4\nEND\n",
       "line 3: expected a number at 'IDC_X'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(ParseResourceScript(c.script).error, c.error);
  }
}

// --- dialogs built from the program's own resources ---

struct DialogLog {
  LPARAM initParam = 0;
  HWND focusOffered = nullptr;
  int destroys = 0;
};
DialogLog* dialogLog = nullptr;

INT_PTR CALLBACK TestDlgProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    dialogLog->initParam = lParam;
    dialogLog->focusOffered = reinterpret_cast<HWND>(wParam);
    return TRUE;
  }
  if (msg == WM_DESTROY) ++dialogLog->destroys;
  return FALSE;
}

TEST(Dialogs, AreBuiltFromTheModuleTemplateWithEveryControl) {
  DialogLog log;
  dialogLog = &log;
  // The panel is a child dialog: it needs a parent.
  EXPECT_EQ(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1070), nullptr,
                               TestDlgProc, 77),
            nullptr);
  HWND parent = CreateWindowExA(0, "Static", "", WS_VISIBLE, 0, 0, 200, 600, nullptr, nullptr,
                                nullptr, nullptr);
  HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1070), parent,
                                TestDlgProc, 77);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(log.initParam, 77);
  HWND open = GetDlgItem(dlg, 1136);
  EXPECT_EQ(log.focusOffered, open);  // the first tab stop
  EXPECT_EQ(GetFocus(), open);        // taken, as WM_INITDIALOG answered TRUE
  headless::WindowInfo info = headless::Inspect(dlg);
  EXPECT_EQ(info.className, "#32770");
  EXPECT_EQ(info.fontFace, "Arial");
  EXPECT_TRUE(IsWindowVisible(dlg));
  EXPECT_EQ(headless::Inspect(open).text, "Open...");
  EXPECT_EQ(GetParent(open), dlg);
  EXPECT_EQ(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(4242), nullptr,
                               TestDlgProc, 0),
            nullptr);
  DestroyWindow(parent);
  EXPECT_EQ(log.destroys, 1);
  EXPECT_FALSE(IsWindow(open));
  dialogLog = nullptr;
}

// --- the open-file dialog ---

class OpenDialog : public testing::Test {
 protected:
  void SetUp() override {
    path = testing::TempDir() + "open_dialog_take.asc";
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fclose(f);
    std::strcpy(buffer, "previous.asc");
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Takes (*.asc)\0*.asc\0All Files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrTitle = "Load";
    ofn.lpstrDefExt = "asc";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  }
  void TearDown() override { std::remove(path.c_str()); }
  std::string path;
  char buffer[256];
  OPENFILENAMEA ofn = {};
};

TEST_F(OpenDialog, RecordsTheRequestAndHandsBackTheChosenFile) {
  headless::AnswerNextOpenDialog(path.substr(0, path.size() - 4));  // no extension typed
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(std::string(buffer), path);
  EXPECT_EQ(std::string(buffer + ofn.nFileExtension), "asc");
  ASSERT_EQ(headless::OpenDialogs().size(), 1u);
  const headless::OpenDialogRecord& r = headless::OpenDialogs()[0];
  EXPECT_EQ(r.filter, (std::vector<std::string>{"Takes (*.asc)", "*.asc", "All Files (*.*)", "*.*"}));
  EXPECT_EQ(r.title, "Load");
  EXPECT_EQ(r.defaultExtension, "asc");
  EXPECT_EQ(r.flags, static_cast<DWORD>(0x1804));
  EXPECT_EQ(r.initialFile, "previous.asc");
  EXPECT_FALSE(r.hasInitialDir);
  EXPECT_FALSE(r.cancelled);
}

TEST_F(OpenDialog, TurnsDownMissingFilesAndCancelsWithoutAnAnswer) {
  headless::AnswerNextOpenDialog(testing::TempDir() + "no_such_take.asc");
  headless::AnswerNextOpenDialog(path);
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(headless::OpenDialogs()[0].turnedDown.size(), 1u);
  EXPECT_EQ(headless::OpenDialogs()[0].chosen, path);

  std::strcpy(buffer, "kept.asc");
  EXPECT_FALSE(GetOpenFileNameA(&ofn));  // nobody answers: cancelled
  EXPECT_TRUE(headless::OpenDialogs()[1].cancelled);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_STREQ(buffer, "kept.asc");

  ofn.nMaxFile = 4;
  headless::AnswerNextOpenDialog(path);
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
}

TEST(Cursors, SystemCursorsAreSharedAndEveryChangeIsRecorded) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), wait);
  EXPECT_NE(arrow, wait);
  EXPECT_EQ(headless::CursorName(wait), "wait");
  EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), "NoSuchCursor"), nullptr);
  EXPECT_EQ(headless::CurrentCursor(), arrow);  // where every test starts
  EXPECT_EQ(SetCursor(wait), arrow);
  EXPECT_EQ(GetCursor(), wait);
  EXPECT_EQ(SetCursor(arrow), wait);
  EXPECT_EQ(headless::CursorHistory(), (std::vector<HCURSOR>{wait, arrow}));
}

}  // namespace

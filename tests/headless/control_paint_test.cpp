// Controls drawing themselves for a picture: their state shows, and a dialog
// from the module's resources is laid out in its font's dialog units.
#include <custcont.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "paint_window.h"

namespace {

using paint_test::PaintWindows;
using ControlPictures = PaintWindows;

// Pixels of a picture's rectangle that are (or are not) the given colour.
int Count(const headless::Image& image, RECT r, uint32_t colour, bool equal) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if ((image.At(x, y) == colour) == equal) ++n;
  return n;
}
int Marked(const headless::Image& image, RECT r, uint32_t background) {
  return Count(image, r, background, false);
}

// Checks a system button as its program does, or the host's button through
// its interface.
void SetChecked(HWND control, bool hostButton) {
  if (!hostButton) {
    SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    return;
  }
  ICustButton* button = GetICustButton(control);
  ASSERT_NE(button, nullptr);
  button->SetType(CBT_CHECK);
  button->SetCheck(TRUE);
  ReleaseICustButton(button);
}

TEST_F(ControlPictures, ACheckedControlLooksOtherwiseThanAnUncheckedOne) {
  InitCustomControls(nullptr);
  struct Case {
    const char* name;
    const char* className;
    DWORD style;
  } const cases[] = {
      {"check box", "Button", BS_AUTOCHECKBOX},
      {"radio button", "Button", BS_AUTORADIOBUTTON},
      {"host button", "CustButton", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND parent = Make(100, 30);
    HWND control = CreateWindowExA(0, c.className, "Trajectories", WS_CHILD | WS_VISIBLE | c.style,
                                   5, 5, 90, 20, parent, nullptr, nullptr, nullptr);
    headless::Image off = headless::Snapshot(parent);
    SetChecked(control, std::string(c.className) == "CustButton");
    headless::Image on = headless::Snapshot(parent);  // the change invalidated it
    EXPECT_NE(off.pixels, on.pixels);
    // The label is drawn in black over the control.
    EXPECT_GT(Count(on, {25, 5, 95, 25}, 0x000000, true), 10);
  }
}

// As on Windows, a control repaints once a change of its look invalidated
// it, and not for every picture.
TEST_F(ControlPictures, AControlRepaintsOnlyWhenItsLookChanged) {
  HWND parent = Make(100, 30);
  HWND control = CreateWindowExA(0, "Button", "Names", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 5, 5, 90, 20,
                                 parent, nullptr, nullptr, nullptr);
  struct Case {
    const char* name;
    std::function<void()> change;
    bool repainted;
  } const cases[] = {
      {"nothing", [] {}, false},
      {"text", [&] { SetWindowTextA(control, "Extents"); }, true},
      {"check state as it was", [&] { SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0); }, false},
      {"checked", [&] { SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0); }, true},
      {"clicked", [&] { SendMessageA(control, BM_CLICK, 0, 0); }, true},
      {"disabled", [&] { EnableWindow(control, FALSE); }, true},
      {"still disabled", [&] { EnableWindow(control, FALSE); }, false},
  };
  headless::Snapshot(parent);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    headless::ClearDisplayList(control);
    c.change();
    headless::Snapshot(parent);
    EXPECT_EQ(!headless::DisplayList(control).empty(), c.repainted);
  }
}

TEST_F(ControlPictures, AMultiLineEditShowsEachLineOfItsText) {
  HWND parent = Make(200, 80);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 80,
                              parent, nullptr, nullptr, nullptr);
  struct Case {
    const char* text;
    bool secondLine;
  } const cases[] = {{"First line only", false}, {"First\r\nSecond", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SetWindowTextA(edit, c.text);
    headless::Image image = headless::Snapshot(parent);
    EXPECT_GT(Marked(image, {0, 0, 200, 14}, 0xFFFFFF), 10);
    EXPECT_EQ(Marked(image, {0, 16, 200, 28}, 0xFFFFFF) > 10, c.secondLine);
    EXPECT_EQ(Marked(image, {0, 40, 200, 80}, 0xFFFFFF), 0);
  }
}

TEST_F(ControlPictures, ADialogIsLaidOutInItsFontsDialogUnits) {
  SIZE base = headless::DialogBaseUnits(8);
  EXPECT_GE(base.cx, 5);  // an 8 point face: about 6 by 13 pixels
  EXPECT_LE(base.cx, 7);
  EXPECT_GE(base.cy, 12);
  EXPECT_LE(base.cy, 14);
  HWND panel = Make(200, 700);
  HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1070), panel,
                                [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(dlg, nullptr);
  RECT client;
  GetClientRect(dlg, &client);
  EXPECT_EQ(client.right, (108 * base.cx + 2) / 4);
  EXPECT_EQ(client.bottom, (301 * base.cy + 4) / 8);
  headless::Image image = headless::Snapshot(panel);
  // The "Open..." button at 37, 63 (36 by 13 units) has its black outline.
  int left = (37 * base.cx + 2) / 4, top = (63 * base.cy + 4) / 8;
  EXPECT_EQ(image.At(left, top + 3), 0x000000u);
  EXPECT_EQ(image.At(left - 1, top + 3), 0xD4D0C8u);
  if (const char* out = std::getenv("MIROVA_PICTURES")) {
    std::string png, problem;
    ASSERT_TRUE(headless::EncodePng(image, &png, &problem)) << problem;
    EXPECT_TRUE(std::ofstream(std::string(out) + "/motion_panel.png", std::ios::binary) << png);
  }
}

}  // namespace

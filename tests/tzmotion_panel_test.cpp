// The motion-control panel worked as a user works it: its template, what it
// shows, loading takes, the FPS box, the check boxes and the keyboard.
#include <commdlg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "tzmotion_fixture.h"

namespace {

using motion_test::MotionPanelTest;
using motion_test::Sample;

const std::vector<Sample> kThreeSamples = {
    {{0, 1, 2, 3, 4, 5, 6}}, {{0, 1, 2, 3, 4, 5, 6}}, {{0, 1, 2, 3, 4, 5, 6}}};

using PanelTemplate = MotionPanelTest;

TEST_F(PanelTemplate, HoldsEveryControlWithItsTextKindAndRectangle) {
  headless::WindowInfo dialog = headless::Inspect(panel);
  EXPECT_EQ(dialog.templateRect.right, 108);
  EXPECT_EQ(dialog.templateRect.bottom, 301);
  EXPECT_EQ(dialog.fontSize, 8);
  EXPECT_EQ(dialog.fontFace, "Arial");
  EXPECT_TRUE(dialog.style & WS_CHILD);
  EXPECT_FALSE((dialog.style & WS_CAPTION) == WS_CAPTION);
  EXPECT_EQ(host->RollupPages().at(0).title, "TzMotionControl");

  // The template's WS_BORDER becomes a client edge, as the dialog manager makes it.
  const DWORD kEditBits = ES_NUMBER | ES_RIGHT;
  struct Row {
    const char* cls;
    DWORD kind;  // SS_* or BS_* type, or the edit's bits
    const char* text;  // as in the template; the code rewrites some at once
    int id;
    RECT rect;
  };
  const int S = 0xFFFF;  // a control the code never addresses
  const Row rows[] = {
      {"Static", SS_LEFT, "TzMotionControl 1.0", S, {21, 4, 65, 8}},
      {"Static", SS_LEFT, nullptr, S, {8, 17, 98, 8}},
      {"Static", SS_LEFT, nullptr, S, {7, 28, 93, 8}},
      {"Static", SS_LEFT, nullptr, S, {10, 38, 90, 8}},
      {"Button", BS_GROUPBOX, "File", S, {2, 53, 104, 83}},
      {"Button", BS_PUSHBUTTON, "Open...", 1136, {37, 63, 36, 13}},
      {"Static", SS_LEFT, "Name:", S, {9, 81, 22, 8}},
      {"Static", SS_CENTER, nullptr, 1109, {33, 81, 66, 8}},
      {"Static", SS_LEFT, "Samples:", S, {17, 92, 30, 8}},
      {"Static", SS_CENTER, nullptr, 1138, {48, 92, 42, 8}},
      {"Static", SS_LEFT, "Interpret File Data As...", S, {13, 105, 73, 8}},
      {"Static", SS_LEFT, "FPS:", S, {34, 119, 16, 8}},
      {"Edit", kEditBits, nullptr, 1140, {53, 118, 30, 12}},
      {"Button", BS_GROUPBOX, "Apply", S, {4, 138, 102, 120}},
      {"Button", BS_PUSHBUTTON, "Apply To Camera", 1103, {24, 151, 64, 14}},
      {"Button", BS_AUTOCHECKBOX, "East-West (X Axis)", 1144, {13, 172, 78, 10}},
      {"Button", BS_AUTOCHECKBOX, "Track (Y Axis)", 1143, {13, 185, 63, 10}},
      {"Button", BS_AUTOCHECKBOX, "North-South (Z Axis)", 1145, {13, 198, 83, 10}},
      {"Button", BS_AUTOCHECKBOX, "Tilt (About X Axis)", 1147, {13, 216, 78, 10}},
      {"Button", BS_AUTOCHECKBOX, "Roll (About Y Axis)", 1148, {13, 229, 78, 10}},
      {"Button", BS_AUTOCHECKBOX, "Pan (About Z Axis)", 1146, {13, 242, 78, 10}},
      {"Button", BS_GROUPBOX, "Processing", S, {4, 262, 102, 22}},
      {"Static", SS_RIGHT, "<none>", 1141, {11, 272, 51, 9}},
      {"Static", SS_RIGHT, ":", S, {62, 272, 8, 8}},
      {"Static", SS_RIGHT, "100", 1142, {70, 272, 17, 8}},
      {"Static", SS_RIGHT, "%", S, {89, 272, 8, 8}},
  };
  std::vector<HWND> children = headless::Children(panel);
  ASSERT_EQ(children.size(), std::size(rows));
  for (size_t i = 0; i < children.size(); ++i) {
    const Row& row = rows[i];
    headless::WindowInfo c = headless::Inspect(children[i]);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.className, row.cls);
    DWORD mask = c.className == "Edit" ? row.kind : c.className == "Static" ? SS_TYPEMASK : BS_TYPEMASK;
    EXPECT_EQ(c.style & mask, row.kind);
    if (c.className == "Edit") {
      EXPECT_FALSE(c.style & WS_BORDER);
      EXPECT_TRUE(c.exStyle & WS_EX_CLIENTEDGE);
    }
    if (row.text) {
      EXPECT_EQ(c.text, row.text);
    }
    EXPECT_EQ(c.id, row.id);
    EXPECT_EQ(c.templateRect.left, row.rect.left);
    EXPECT_EQ(c.templateRect.top, row.rect.top);
    EXPECT_EQ(c.templateRect.right, row.rect.right);
    EXPECT_EQ(c.templateRect.bottom, row.rect.bottom);
  }
}

using Panel = MotionPanelTest;

TEST_F(Panel, OpensShowingNoFileAndLeavesTheProcessingBoxAlone) {
  EXPECT_EQ(Shown(IDC_MOTION_NAME), "none");
  EXPECT_EQ(Shown(IDC_MOTION_SAMPLES), "0");
  EXPECT_EQ(Shown(IDC_MOTION_FPS), "30");
  for (int id : {1143, 1144, 1145, 1146, 1147, 1148})
    EXPECT_EQ(headless::CheckState(panel, id), static_cast<UINT>(BST_CHECKED)) << id;
  EXPECT_EQ(Shown(IDC_MOTION_STATUS), "<none>");
  EXPECT_EQ(Shown(IDC_MOTION_PERCENT), "100");
}

TEST_F(Panel, LoadingShowsNameAndCountUnderTheBusyCursor) {
  std::string path = WriteTake(kThreeSamples);
  Load(path);
  EXPECT_EQ(Shown(IDC_MOTION_NAME), "take.asc");
  EXPECT_EQ(Shown(IDC_MOTION_SAMPLES), "3");
  EXPECT_EQ(Shown(IDC_MOTION_STATUS), "<none>");
  EXPECT_EQ(Shown(IDC_MOTION_PERCENT), "0");
  std::vector<std::string> cursors;
  for (HCURSOR c : headless::CursorHistory()) cursors.push_back(headless::CursorName(c));
  EXPECT_EQ(cursors, (std::vector<std::string>{"wait", "arrow"}));

  const headless::OpenDialogRecord& dialog = headless::OpenDialogs().at(0);
  EXPECT_EQ(dialog.owner, panel);
  EXPECT_EQ(dialog.filter, (std::vector<std::string>{"Kuper ASCII (*.asc)", "*.asc",
                                                     "All Files (*.*)", "*.*"}));
  EXPECT_EQ(dialog.filterIndex, 1u);
  EXPECT_EQ(dialog.title, "Load Kuper ASCII File");
  EXPECT_EQ(dialog.defaultExtension, "asc");
  EXPECT_EQ(dialog.flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));
  EXPECT_EQ(dialog.maxFile, 256u);
  EXPECT_FALSE(dialog.hasInitialDir);
  EXPECT_EQ(dialog.initialFile, "");

  // The dialog starts from the previous choice.
  headless::CancelNextOpenDialog();
  headless::Click(panel, IDC_MOTION_OPEN);
  EXPECT_EQ(headless::OpenDialogs().at(1).initialFile, path);
  EXPECT_EQ(Shown(IDC_MOTION_SAMPLES), "3");
}

TEST_F(Panel, ReopeningShowsTheStateLeftBehind) {
  Load(WriteTake(kThreeSamples));
  TypeRate("25");
  headless::Click(panel, IDC_MOTION_TRACK);
  headless::Click(panel, IDC_MOTION_PAN);
  ClosePanel();
  OpenPanel();
  EXPECT_EQ(Shown(IDC_MOTION_NAME), "take.asc");
  EXPECT_EQ(Shown(IDC_MOTION_SAMPLES), "3");
  EXPECT_EQ(Shown(IDC_MOTION_FPS), "25");
  EXPECT_EQ(headless::CheckState(panel, IDC_MOTION_TRACK), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(headless::CheckState(panel, IDC_MOTION_PAN), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(headless::CheckState(panel, IDC_MOTION_TILT), static_cast<UINT>(BST_CHECKED));
}

TEST_F(Panel, LoadFailuresAreReportedAndKeepWhatWasRead) {
  struct Case {
    const char* name;
    std::string text;   // the take; empty: the user cancels
    bool vanishes;      // the file is gone by the time the panel opens it
    std::vector<std::string> boxes;
    const char* nameShown;
    const char* countShown;
  };
  const Case cases[] = {
      {"cancelled", "", false, {}, "none", "0"},
      {"vanished", motion_test::TakeText(kThreeSamples), true, {"Unable to loaded file"}, "none", "0"},
      {"not a take", "Axis = VTrack\n1\n", false,
       {"Not a Kuper ASCII File", "Unable to loaded file"}, "bad.asc", "0"},
      {"cut short", "Axes = VTrack VPan\n1 2 3 4 5\n", false, {"Unable to loaded file"},
       "bad.asc", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetUtility();
    ClosePanel();
    OpenPanel();
    headless::ResetRecords();
    std::string path;
    if (c.text.empty()) {
      headless::CancelNextOpenDialog();
      headless::Click(panel, IDC_MOTION_OPEN);
    } else {
      path = WriteFile(c.text, "bad.asc");
      if (c.vanishes)
        headless::OnOpenDialog([&](const headless::OpenDialogRecord&) { std::remove(path.c_str()); });
      Load(path);
      headless::OnOpenDialog(nullptr);
    }
    std::vector<std::string> boxes;
    for (const auto& box : headless::MessageBoxes()) boxes.push_back(box.text);
    EXPECT_EQ(boxes, c.boxes);
    if (!boxes.empty()) {
      const headless::MessageBoxRecord& last = headless::MessageBoxes().back();
      EXPECT_EQ(last.owner, panel);
      EXPECT_FALSE(last.hasCaption);
      EXPECT_EQ(last.style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    }
    EXPECT_EQ(Shown(IDC_MOTION_NAME), c.nameShown);
    EXPECT_EQ(Shown(IDC_MOTION_SAMPLES), c.countShown);
    EXPECT_EQ(std::string(Utility().fileName), path);
  }
}

TEST_F(Panel, AChoiceTooLongForTheNameBufferKeepsThePreviousOne) {
  std::string first = WriteTake(kThreeSamples);
  Load(first);
  std::string folder = testing::TempDir() + std::string(250, 'd');
  ASSERT_EQ(mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST, true);
  std::string longPath = folder + "/take.asc";
  std::ofstream(longPath) << motion_test::TakeText(kThreeSamples);
  Load(longPath);
  EXPECT_EQ(std::string(Utility().fileName), first);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  std::remove(longPath.c_str());
  rmdir(folder.c_str());
}

TEST_F(Panel, TheRateFollowsTheFpsBoxAtOnce) {
  const struct {
    const char* typed;
    int fps;
  } cases[] = {{"25", 25}, {"", 0}, {"007", 7}, {"99999999999", INT_MAX}, {"4800", 4800}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    TypeRate(c.typed);
    EXPECT_EQ(Utility().fps, c.fps);
  }
  TypeRate("x");  // a digits-only box refuses letters: its text stays
  EXPECT_EQ(Shown(IDC_MOTION_FPS), "4800");
  EXPECT_EQ(Utility().fps, 4800);
}

TEST_F(Panel, TheFpsBoxHoldsTheHostsShortcutsOnlyWhileItHasTheFocus) {
  EXPECT_TRUE(host->AcceleratorsEnabled());
  headless::GiveFocus(panel, IDC_MOTION_FPS);
  EXPECT_FALSE(host->AcceleratorsEnabled());
  headless::TakeFocus();
  EXPECT_TRUE(host->AcceleratorsEnabled());

  // Closing the panel while typing gives the shortcuts back too.
  TypeRate("2");
  EXPECT_FALSE(host->AcceleratorsEnabled());
  ClosePanel();
  EXPECT_TRUE(host->AcceleratorsEnabled());
}

TEST_F(Panel, EachCheckBoxSetsItsOwnFlag) {
  MotionControlUtility& mc = Utility();
  const struct {
    int id;
    int* flag;
  } boxes[] = {{IDC_MOTION_EAST_WEST, &mc.useEastWest}, {IDC_MOTION_TRACK, &mc.useTrack},
               {IDC_MOTION_NORTH_SOUTH, &mc.useNorthSouth}, {IDC_MOTION_TILT, &mc.useTilt},
               {IDC_MOTION_ROLL, &mc.useRoll}, {IDC_MOTION_PAN, &mc.usePan}};
  for (const auto& box : boxes) {
    SCOPED_TRACE(box.id);
    headless::Click(panel, box.id);
    int off = 0;
    for (const auto& other : boxes) off += *other.flag == 0;
    EXPECT_EQ(*box.flag, 0);
    EXPECT_EQ(off, 1);
    headless::Click(panel, box.id);
    EXPECT_EQ(*box.flag, 1);
  }
}

TEST_F(Panel, ProgressShowsWholePercentsCutTowardZero) {
  const struct {
    float fraction;
    const char* shown;
  } cases[] = {{0.999f, "99"}, {1.0f, "100"}, {0.0f, "0"}, {0.505f, "50"}};
  for (const auto& c : cases) {
    Utility().SetProgress(c.fraction);
    EXPECT_EQ(Shown(IDC_MOTION_PERCENT), c.shown) << c.fraction;
  }
}

TEST_F(Panel, PassesMouseMessagesToTheHost) {
  SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageA(panel, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(7, 8));
  ASSERT_EQ(host->RollupMouseMessages().size(), 2u);
  EXPECT_EQ(host->RollupMouseMessages()[0].dlg, panel);
  EXPECT_EQ(host->RollupMouseMessages()[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(host->RollupMouseMessages()[1].lParam, MAKELPARAM(7, 8));
}

}  // namespace

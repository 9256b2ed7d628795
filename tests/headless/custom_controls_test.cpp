// The host's custom controls in a dialog, driven by the headless user: what
// the parent hears, in which order, and what the controls show.
#include <gtest/gtest.h>
#include <headless_controls.h>
#include <headless_win32.h>

#include <string>
#include <vector>

#include "control_dialogs.h"

namespace {

using namespace control_dialogs;

// One message the dialog heard, with the spinner's value or the button's
// check state at that moment.
struct Heard {
  UINT msg;
  int id;
  float value;
  bool checked;
};

std::vector<Heard>* heard = nullptr;
bool destroyOnChange = false;

INT_PTR CALLBACK RecordingProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!heard) return FALSE;
  switch (msg) {
    case CC_SPINNER_CHANGE:
    case CC_SPINNER_BUTTONDOWN:
    case CC_SPINNER_BUTTONUP: {
      auto* spinner = reinterpret_cast<ISpinnerControl*>(lParam);
      heard->push_back({msg, LOWORD(wParam), spinner->GetFVal(), false});
      if (destroyOnChange && msg == CC_SPINNER_CHANGE) DestroyWindow(dlg);
      return TRUE;
    }
    case WM_CUSTEDIT_ENTER:
      heard->push_back({msg, static_cast<int>(wParam), 0.0f, false});
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        ICustButton* button = GetICustButton(reinterpret_cast<HWND>(lParam));
        heard->push_back({msg, LOWORD(wParam), 0.0f, button && button->IsChecked()});
        ReleaseICustButton(button);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

class CustomControls : public testing::Test {
 protected:
  void SetUp() override {
    heard = &log;
    destroyOnChange = false;
    openAtStart = headless::OpenCustomControlInterfaces();
    dlg = CreateDialogParamA(Module(), MAKEINTRESOURCE(kPopup), nullptr, RecordingProc, 0);
    ASSERT_NE(dlg, nullptr);
    spinner = GetISpinner(GetDlgItem(dlg, kSpinA));
    ASSERT_NE(spinner, nullptr);
    spinner->LinkToEdit(GetDlgItem(dlg, kEditA), EDITTYPE_FLOAT);
  }
  void TearDown() override {
    ReleaseISpinner(spinner);
    if (IsWindow(dlg)) DestroyWindow(dlg);
    heard = nullptr;
    EXPECT_EQ(headless::OpenCustomControlInterfaces(), openAtStart);
  }
  std::vector<UINT> Messages() const {
    std::vector<UINT> out;
    for (const Heard& h : log) out.push_back(h.msg);
    return out;
  }
  std::vector<float> Changes() const {
    std::vector<float> out;
    for (const Heard& h : log)
      if (h.msg == CC_SPINNER_CHANGE) out.push_back(h.value);
    return out;
  }
  std::vector<Heard> log;
  HWND dlg = nullptr;
  ISpinnerControl* spinner = nullptr;
  int openAtStart = 0;
};

TEST_F(CustomControls, TypingIntoALinkedEditSetsTheSpinnerWithinItsLimits) {
  struct Case {
    const char* typed;
    bool accepted;
    float value;        // the spinner's value afterwards
    const char* shown;  // the edit's text afterwards
  };
  const Case cases[] = {
      {"42.5", true, 42.5f, "42.5"},
      {" 7 ", true, 7.0f, "7.0"},
      {"150", true, 100.0f, "100.0"},  // clamped to the upper limit
      {"-3", true, 0.0f, "0.0"},
      {"1e1", true, 10.0f, "10.0"},
      {"abc", false, 25.0f, "25.0"},  // not a number: shown value restored
      {"12abc", false, 25.0f, "25.0"},
      {"", false, 25.0f, "25.0"},
      {"nan", false, 25.0f, "25.0"},
      {"1e999", false, 25.0f, "25.0"},
  };
  spinner->SetLimits(0.0f, 100.0f);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
    spinner->SetValue(25.0f, FALSE);
    log.clear();
    ASSERT_TRUE(headless::TypeInCustEdit(dlg, kEditA, c.typed));
    EXPECT_FLOAT_EQ(spinner->GetFVal(), c.value);
    EXPECT_EQ(headless::Text(dlg, kEditA), c.shown);
    std::vector<UINT> expected;
    if (c.accepted) expected.push_back(CC_SPINNER_CHANGE);
    expected.push_back(WM_CUSTEDIT_ENTER);
    EXPECT_EQ(Messages(), expected);
    if (c.accepted) {
      EXPECT_EQ(log[0].id, kSpinA);
      EXPECT_FLOAT_EQ(log[0].value, c.value);  // the parent sees the new value
    }
    EXPECT_EQ(log.back().id, kEditA);
  }
}

TEST_F(CustomControls, DraggingStepsByTheScaleBetweenButtonDownAndUp) {
  struct Case {
    const char* name;
    float start, scale;
    int steps;
    std::vector<float> changes;
  };
  const Case cases[] = {
      {"up", 1.0f, 0.5f, 2, {1.5f, 2.0f}},
      {"up past the limit", 1.0f, 0.5f, 4, {1.5f, 2.0f, 2.0f, 2.0f}},
      {"down to the limit", 0.5f, 0.25f, -3, {0.25f, 0.0f, 0.0f}},
      {"no move", 1.0f, 0.5f, 0, {}},
  };
  spinner->SetLimits(0.0f, 2.0f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    spinner->SetScale(c.scale);
    spinner->SetValue(c.start, FALSE);
    log.clear();
    ASSERT_TRUE(headless::DragSpinner(dlg, kSpinA, c.steps));
    EXPECT_EQ(Changes(), c.changes);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front().msg, static_cast<UINT>(CC_SPINNER_BUTTONDOWN));
    EXPECT_EQ(log.back().msg, static_cast<UINT>(CC_SPINNER_BUTTONUP));
    EXPECT_EQ(log.size(), c.changes.size() + 2);
    float end = c.changes.empty() ? c.start : c.changes.back();
    EXPECT_FLOAT_EQ(headless::SpinnerValue(dlg, kSpinA), end);
    EXPECT_FLOAT_EQ(spinner->GetFVal(), end);
  }
}

TEST_F(CustomControls, ProgramSetsValuesAndLimitsWithoutTellingUnlessAsked) {
  spinner->SetLimits(-10.0f, 10.0f);
  spinner->SetValue(20.0f, FALSE);
  EXPECT_FLOAT_EQ(spinner->GetFVal(), 10.0f);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(headless::Text(dlg, kEditA), "10.0");

  spinner->SetValue(-4.0f, TRUE);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].msg, static_cast<UINT>(CC_SPINNER_CHANGE));
  EXPECT_EQ(log[0].id, kSpinA);
  EXPECT_FLOAT_EQ(log[0].value, -4.0f);

  spinner->SetLimits(0.0f, 5.0f, FALSE);  // the value stays outside
  EXPECT_FLOAT_EQ(spinner->GetFVal(), -4.0f);
  spinner->SetLimits(0.0f, 5.0f, TRUE);
  EXPECT_FLOAT_EQ(spinner->GetFVal(), 0.0f);
  EXPECT_EQ(headless::Text(dlg, kEditA), "0.0");
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(CustomControls, ValuesReadInTheEditAsTheHostShowsThem) {
  struct Case {
    float value;
    EditSpinnerType type;
    const char* shown;
  };
  const Case cases[] = {
      {100.0f, EDITTYPE_FLOAT, "100.0"}, {0.1f, EDITTYPE_FLOAT, "0.1"},
      {12.3456f, EDITTYPE_FLOAT, "12.346"}, {-3.5f, EDITTYPE_FLOAT, "-3.5"},
      {-0.0001f, EDITTYPE_FLOAT, "0.0"}, {99999.0f, EDITTYPE_FLOAT, "99999.0"},
      {2.6f, EDITTYPE_INT, "3"}, {-2.4f, EDITTYPE_INT, "-2"},
  };
  spinner->SetLimits(-1.0e6f, 1.0e6f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    spinner->LinkToEdit(GetDlgItem(dlg, kEditA), c.type);
    spinner->SetValue(c.value, FALSE);
    EXPECT_EQ(headless::Text(dlg, kEditA), c.shown);
  }
}

TEST_F(CustomControls, ACustomEditReadsAndWritesNumbers) {
  ICustEdit* edit = GetICustEdit(GetDlgItem(dlg, kEditB));
  ASSERT_NE(edit, nullptr);
  edit->SetText(2.5f);
  EXPECT_EQ(headless::Text(dlg, kEditB), "2.5");
  BOOL valid = FALSE;
  EXPECT_FLOAT_EQ(edit->GetFloat(&valid), 2.5f);
  EXPECT_TRUE(valid);
  edit->SetText("x1");
  EXPECT_EQ(edit->GetFloat(&valid), 0.0f);
  EXPECT_FALSE(valid);
  edit->SetText(42);
  char text[3];
  edit->GetText(text, sizeof text);
  EXPECT_STREQ(text, "42");
  EXPECT_EQ(edit->GetInt(&valid), 42);
  EXPECT_FALSE(edit->GotReturn());
  // An edit linked to nothing just tells the parent.
  ASSERT_TRUE(headless::TypeInCustEdit(dlg, kEditB, "9"));
  EXPECT_TRUE(edit->GotReturn());
  EXPECT_FALSE(edit->GotReturn());
  EXPECT_EQ(Messages(), std::vector<UINT>{WM_CUSTEDIT_ENTER});
  ReleaseICustEdit(edit);
}

TEST_F(CustomControls, ACheckButtonTogglesBeforeTheParentHearsTheClick) {
  struct Case {
    const char* name;
    int type;
    std::vector<bool> checkedAtClicks;
  };
  const Case cases[] = {
      {"push", CBT_PUSH, {false, false}},
      {"check", CBT_CHECK, {true, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ICustButton* button = GetICustButton(GetDlgItem(dlg, kButton));
    ASSERT_NE(button, nullptr);
    button->SetType(c.type);
    button->SetCheck(FALSE);
    ReleaseICustButton(button);
    log.clear();
    for (size_t i = 0; i < c.checkedAtClicks.size(); ++i) {
      ASSERT_TRUE(headless::Click(dlg, kButton));
      ASSERT_EQ(log.size(), i + 1);
      EXPECT_EQ(log[i].msg, static_cast<UINT>(WM_COMMAND));
      EXPECT_EQ(log[i].id, kButton);
      EXPECT_EQ(log[i].checked, c.checkedAtClicks[i]);
    }
    EXPECT_EQ(headless::CustButtonChecked(dlg, kButton), c.checkedAtClicks.back());
    EXPECT_EQ(headless::CustButtonType(dlg, kButton), c.type);
  }
}

TEST_F(CustomControls, AButtonShowsWhatTheProgramSetsAndADisabledOneIgnoresClicks) {
  ICustButton* button = GetICustButton(GetDlgItem(dlg, kButton));
  button->SetText("Assigned");
  button->SetHighlightColor(0xC0FFC0);
  button->SetCheck(TRUE);
  ReleaseICustButton(button);
  EXPECT_EQ(headless::Text(dlg, kButton), "Assigned");
  EXPECT_EQ(headless::CustButtonHighlight(dlg, kButton), 0xC0FFC0u);
  EXPECT_TRUE(headless::CustButtonChecked(dlg, kButton));
  EXPECT_TRUE(log.empty());  // setting by program says nothing

  EnableWindow(GetDlgItem(dlg, kButton), FALSE);
  EXPECT_FALSE(headless::Click(dlg, kButton));
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(headless::Click(dlg, kLabel));  // a static is no button
}

TEST_F(CustomControls, TheUserCannotReachMissingDisabledOrHiddenControls) {
  EXPECT_FALSE(headless::TypeInCustEdit(dlg, 999, "1"));
  EXPECT_FALSE(headless::TypeInCustEdit(dlg, kSpinA, "1"));  // not an edit
  EXPECT_FALSE(headless::DragSpinner(dlg, kEditA, 1));       // not a spinner
  EnableWindow(GetDlgItem(dlg, kSpinA), FALSE);
  EXPECT_FALSE(headless::DragSpinner(dlg, kSpinA, 1));
  ShowWindow(GetDlgItem(dlg, kEditA), SW_HIDE);
  EXPECT_FALSE(headless::TypeInCustEdit(dlg, kEditA, "1"));
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(headless::CustButtonChecked(dlg, kEditA));
  EXPECT_EQ(headless::CustButtonType(dlg, kEditA), -1);
}

TEST_F(CustomControls, EachGetIsCountedUntilItsReleaseAndOnlyTheRightClassAnswers) {
  HWND edit = GetDlgItem(dlg, kEditA), spin = GetDlgItem(dlg, kSpinA),
       button = GetDlgItem(dlg, kButton), label = GetDlgItem(dlg, kLabel);
  EXPECT_EQ(GetICustEdit(spin), nullptr);
  EXPECT_EQ(GetISpinner(edit), nullptr);
  EXPECT_EQ(GetICustButton(label), nullptr);
  EXPECT_EQ(GetICustEdit(nullptr), nullptr);
  int open = headless::OpenCustomControlInterfaces();
  ICustEdit* e = GetICustEdit(edit);
  ISpinnerControl* s = GetISpinner(spin);
  ICustButton* b = GetICustButton(button);
  EXPECT_EQ(s, spinner);  // one control, one interface
  EXPECT_EQ(headless::OpenCustomControlInterfaces(), open + 3);
  ReleaseICustEdit(e);
  ReleaseISpinner(s);
  ReleaseICustButton(b);
  EXPECT_EQ(headless::OpenCustomControlInterfaces(), open);

  int unmatched = headless::UnmatchedCustomControlReleases();
  ReleaseICustButton(GetICustButton(button));
  ReleaseICustButton(b);  // once too often
  EXPECT_EQ(headless::UnmatchedCustomControlReleases(), unmatched + 1);
  EXPECT_EQ(headless::OpenCustomControlInterfaces(), open);
}

TEST_F(CustomControls, AnInterfaceKeptPastItsWindowIsHarmlessUntilReleased) {
  ICustButton* button = GetICustButton(GetDlgItem(dlg, kButton));
  ICustEdit* edit = GetICustEdit(GetDlgItem(dlg, kEditB));
  DestroyWindow(dlg);
  // The window is gone; the interfaces do nothing (and are not freed memory).
  button->SetText("late");
  EXPECT_FALSE(button->IsChecked());
  edit->SetText("late");
  char text[8] = "x";
  edit->GetText(text, sizeof text);
  EXPECT_STREQ(text, "");
  spinner->SetValue(3.0f, TRUE);
  EXPECT_TRUE(log.empty());
  ReleaseICustButton(button);
  ReleaseICustEdit(edit);
}

TEST_F(CustomControls, AParentThatClosesTheDialogWhileDraggingEndsTheDrag) {
  spinner->SetLimits(0.0f, 10.0f);
  destroyOnChange = true;
  EXPECT_TRUE(headless::DragSpinner(dlg, kSpinA, 5));
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_EQ(Messages(), (std::vector<UINT>{CC_SPINNER_BUTTONDOWN, CC_SPINNER_CHANGE}));
}

TEST(CustomControlClasses, ServeTheDialogsOfEveryModule) {
  Module();  // the classes are registered by now
  HINSTANCE other = headless::LoadResourceModule("other", Script());
  HWND dlg = CreateDialogParamA(other, MAKEINTRESOURCE(kPopup), nullptr, nullptr, 0);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(headless::Inspect(GetDlgItem(dlg, kSpinA)).className, "SpinnerControl");
  DestroyWindow(dlg);
  FreeLibrary(other);
}

}  // namespace

// The expression object's dialog templates as the library's resource script
// gives them: page sizes and fonts, every control where a user finds it (its
// label and group), and a layout that keeps controls apart and on the page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../headless/win32/src/resource_script.h"
#include "resource.h"

namespace {

using headless::detail::DialogItemTemplate;
using headless::detail::DialogTemplate;

// The script linked into this program, as the library's copy here finds it.
const headless::detail::ResourceScript& Script() {
  static const headless::detail::ResourceScript script = headless::detail::ModuleResources(nullptr);
  return script;
}

const DialogTemplate& Dialog(int id) {
  const DialogTemplate* d = Script().FindDialog(MAKEINTRESOURCE(id));
  if (!d) throw std::runtime_error("no dialog " + std::to_string(id));
  return *d;
}

const DialogItemTemplate* Item(const DialogTemplate& d, int id) {
  for (const DialogItemTemplate& item : d.items)
    if (item.id == id) return &item;
  return nullptr;
}

bool IsGroupBox(const DialogItemTemplate& item) {
  return item.className == "Button" && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}
bool IsStatic(const DialogItemTemplate& item) { return item.className == "Static"; }

int Right(const RECT& r) { return r.left + r.right; }
int Bottom(const RECT& r) { return r.top + r.bottom; }
bool Overlap(const RECT& a, const RECT& b) {
  return a.left < Right(b) && b.left < Right(a) && a.top < Bottom(b) && b.top < Bottom(a);
}
bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && Right(inner) <= Right(outer) &&
         Bottom(inner) <= Bottom(outer);
}
bool SameRow(const RECT& a, const RECT& b) { return a.top < Bottom(b) && b.top < Bottom(a); }

// The label a user reads left of a control, on its row.
std::string LabelOf(const DialogTemplate& d, const DialogItemTemplate& control) {
  std::string label;
  int nearest = 1 << 30;
  for (const DialogItemTemplate& item : d.items) {
    if (!IsStatic(item) || !SameRow(item.rect, control.rect) || Right(item.rect) > control.rect.left) continue;
    if (control.rect.left - Right(item.rect) < nearest) {
      nearest = control.rect.left - Right(item.rect);
      label = item.text;
    }
  }
  return label;
}

// The group box around a control, or "".
std::string GroupOf(const DialogTemplate& d, const DialogItemTemplate& control) {
  for (const DialogItemTemplate& item : d.items)
    if (IsGroupBox(item) && Inside(control.rect, item.rect)) return item.text;
  return "";
}

TEST(ExpressionDialogs, PagesAreChildDialogsOfThePanelsWidth) {
  ASSERT_EQ(Script().error, "");
  const struct {
    int id, height;
  } pages[] = {{IDD_FACE_TARGETS, 352}, {IDD_PERCENTAGES, 294}, {IDD_FACE_TRACKER, 109},
               {IDD_SCALES, 289},       {IDD_ABOUT, 70}};
  for (const auto& page : pages) {
    SCOPED_TRACE(page.id);
    const DialogTemplate& d = Dialog(page.id);
    EXPECT_EQ(d.rect.right, 108);
    EXPECT_EQ(d.rect.bottom, page.height);
    EXPECT_EQ(d.style, static_cast<DWORD>(DS_SETFONT | WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(d.fontSize, 8);
    EXPECT_EQ(d.fontFace, "MS Sans Serif");

    // Every control on the page; none covers another, and a group box holds
    // whatever it touches.
    const RECT pageRect = {0, 0, d.rect.right, d.rect.bottom};
    for (const DialogItemTemplate& a : d.items) {
      SCOPED_TRACE(a.text + " " + std::to_string(a.id));
      EXPECT_TRUE(Inside(a.rect, pageRect));
      for (const DialogItemTemplate& b : d.items) {
        if (&a == &b || !Overlap(a.rect, b.rect)) continue;
        const bool held = (IsGroupBox(a) && Inside(b.rect, a.rect)) || (IsGroupBox(b) && Inside(a.rect, b.rect));
        EXPECT_TRUE(held) << "overlaps " << b.text << " " << b.id;
      }
    }
  }
}

struct SpinnerRow {
  int edit;
  const char* label;
  const char* group;
};

void ExpectSpinnerRows(const DialogTemplate& d, const std::vector<SpinnerRow>& rows) {
  size_t customs = 0;
  for (const DialogItemTemplate& item : d.items) customs += !IsStatic(item) && !IsGroupBox(item);
  EXPECT_EQ(customs, rows.size() * 2);
  for (const SpinnerRow& row : rows) {
    SCOPED_TRACE(row.edit);
    const DialogItemTemplate* edit = Item(d, row.edit);
    const DialogItemTemplate* spin = Item(d, row.edit + 1);
    ASSERT_TRUE(edit && spin);
    EXPECT_EQ(edit->className, "CustEdit");
    EXPECT_EQ(spin->className, "SpinnerControl");
    EXPECT_EQ(spin->rect.left, Right(edit->rect)) << "the spinner sits right of its edit";
    EXPECT_EQ(spin->rect.top, edit->rect.top);
    EXPECT_EQ(spin->rect.bottom, edit->rect.bottom);
    EXPECT_EQ(LabelOf(d, *edit), row.label);
    EXPECT_EQ(GroupOf(d, *edit), row.group);
  }
}

TEST(ExpressionDialogs, PercentagesAndScalesLabelEverySpinner) {
  ExpectSpinnerRows(Dialog(IDD_PERCENTAGES),
                    {{1105, "Vertical:", "Mouth Openness"}, {1107, "Horizontal:", "Mouth Openness"},
                     {1109, "Left:", "Eyelid Openness"},    {1119, "Right:", "Eyelid Openness"},
                     {1111, "Left:", "Eye Brow Raise"},     {1121, "Right:", "Eye Brow Raise"},
                     {1113, "Left:", "Cheeks Raise"},       {1123, "Right:", "Cheeks Raise"},
                     {1117, "Left:", "Squint"},             {1125, "Right:", "Squint"},
                     {1115, "Frown:", ""}});
  ExpectSpinnerRows(Dialog(IDD_SCALES),
                    {{1122, "Vertical:", "Mouth Openness"}, {1124, "Horizontal:", "Mouth Openness"},
                     {1126, "Left:", "Eyelid Openness"},    {1136, "Right:", "Eyelid Openness"},
                     {1128, "Left:", "Eye Brow Raise"},     {1138, "Right:", "Eye Brow Raise"},
                     {1130, "Left:", "Cheeks Raise"},       {1140, "Right:", "Cheeks Raise"},
                     {1134, "Left:", "Squint Raise"},       {1142, "Right:", "Squint Raise"},
                     {1132, "Frown:", ""}});
}

TEST(ExpressionDialogs, FaceTargetsHasTheRadiosAndALabelledButtonPerSlot) {
  const DialogTemplate& d = Dialog(IDD_FACE_TARGETS);
  const struct {
    int id;
    const char* text;
  } radios[] = {{1023, "Reference"}, {1024, "Copy"}, {1025, "Move"}, {1026, "Instance"}};
  for (const auto& radio : radios) {
    SCOPED_TRACE(radio.text);
    const DialogItemTemplate* item = Item(d, radio.id);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, radio.text);
    EXPECT_EQ(item->style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTORADIOBUTTON));
    EXPECT_EQ((item->style & WS_GROUP) != 0, radio.id == 1023) << "Reference starts the group";
  }
  const struct {
    const char* label;
    const char* group;
  } slots[] = {{"Neutral:", ""},        {"Open:", "Mouth"},     {"Puckered:", "Mouth"}, {"Left:", "Eyelids"},
               {"Left:", "Eye Brows"},  {"Left:", "Cheeks"},    {"Frown:", ""},         {"Left:", "Squint"},
               {"Right:", "Eyelids"},   {"Right:", "Eye Brows"}, {"Right:", "Cheeks"},  {"Right:", "Squint"}};
  for (int slot = 0; slot < 12; ++slot) {
    SCOPED_TRACE(slot);
    const DialogItemTemplate* button = Item(d, 1040 + slot);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->className, "CustButton");
    EXPECT_EQ(LabelOf(d, *button), slots[slot].label);
    EXPECT_EQ(GroupOf(d, *button), slots[slot].group);
  }
  // Radios on top, above every button.
  for (const auto& radio : radios)
    EXPECT_LT(Bottom(Item(d, radio.id)->rect), Item(d, 1040)->rect.top + 1);
}

TEST(ExpressionDialogs, AboutReadsTopToBottom) {
  const DialogTemplate& d = Dialog(IDD_ABOUT);
  ASSERT_EQ(d.items.size(), 6u);
  for (const DialogItemTemplate& item : d.items) EXPECT_TRUE(IsStatic(item)) << item.text;
  EXPECT_EQ(d.items[0].text, "Mirova v1.1");
  EXPECT_EQ(d.items[2].text, "Design && Programming");
  EXPECT_EQ(d.items[3].text, std::string(20, '_'));
  for (size_t i = 1; i < d.items.size(); ++i) EXPECT_GT(d.items[i].rect.top, d.items[i - 1].rect.top);
}

}  // namespace

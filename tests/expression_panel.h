// A headless host with face meshes on nodes, and the expression object's
// rollups worked as a user works them: created from the create panel or
// edited in the modify panel, buttons and radios clicked, nodes clicked in
// the viewport, values typed into spinners.
#ifndef MIROVA_TESTS_EXPRESSION_PANEL_H
#define MIROVA_TESTS_EXPRESSION_PANEL_H
#include <custcont.h>
#include <gtest/gtest.h>
#include <headless.h>
#include <headless_controls.h>
#include <headless_host.h>
#include <triobj.h>

#include <string>
#include <vector>

#include "mirovaobj.h"
#include "mirovaobj_ui.h"
#include "resource.h"

namespace expression_panel {

// A triangle mesh of n points, point i at (i, z, 0).
inline TriObject* NewMesh(int n, float z = 0.0f) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(n);
  for (int i = 0; i < n; ++i) tri->mesh.setVert(i, static_cast<float>(i), z, 0.0f);
  return tri;
}

inline std::string WindowText(HWND hwnd) {
  char text[256] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

class ExpressionPanelTest : public testing::Test {
 protected:
  void SetUp() override { GetExpressionObjectDesc()->ResetClassParams(); }
  void TearDown() override {
    if (host.Creating()) host.LeaveCreatePanel();
    if (edited) edited->EndEditParams(&host, END_EDIT_REMOVEUI, nullptr);
    AnimateOff();
  }

  INode* MeshNode(int points, const char* name, float z = 0.0f) { return host.CreateNode(NewMesh(points, z), name); }

  // The user selects node and presses the object's button in the create
  // panel; null when no object was made.
  ExpressionObject* Create(INode* node) {
    host.Select(node);
    if (!host.CreateFromPanel(GetExpressionObjectDesc())) return nullptr;
    Object* made = node->GetObjectRef();
    return made && made->ClassID() == EXPRESSION_OBJECT_CLASS_ID ? static_cast<ExpressionObject*>(made) : nullptr;
  }
  // The modify panel opens on obj, or moves to it from the object edited
  // before (without taking the pages down).
  void Modify(ExpressionObject* obj) {
    if (edited) edited->EndEditParams(&host, 0, obj);
    edited = obj;
    obj->BeginEditParams(&host, 0, nullptr);
  }
  void CloseModify() {
    if (edited) edited->EndEditParams(&host, END_EDIT_REMOVEUI, nullptr);
    edited = nullptr;
  }

  HWND Page(const std::string& title) const {
    for (const headless::RollupPageRecord& page : host.RollupPages())
      if (page.title == title) return page.page;
    return nullptr;
  }
  std::vector<std::string> PageTitles() const {
    std::vector<std::string> titles;
    for (const headless::RollupPageRecord& page : host.RollupPages()) titles.push_back(page.title);
    return titles;
  }
  HWND Targets() const { return Page("Face Targets"); }

  std::string ButtonText(int slot) const { return WindowText(GetDlgItem(Targets(), IDC_TARGET_NEUTRAL + slot)); }
  bool ButtonChecked(int slot) const { return headless::CustButtonChecked(Targets(), IDC_TARGET_NEUTRAL + slot); }
  int CheckedRadio() const {
    int checked = 0;
    for (int id = IDC_PICK_REFERENCE; id <= IDC_PICK_INSTANCE; ++id)
      if (IsDlgButtonChecked(Targets(), id) == BST_CHECKED) checked = checked ? -1 : id;
    return checked;
  }
  void PressButton(int slot) { headless::Click(Targets(), IDC_TARGET_NEUTRAL + slot); }
  // Presses the slot's button and clicks node in the viewport.
  void PickInto(int slot, INode* node) {
    PressButton(slot);
    host.ClickNode(node);
  }

  // What a spinner shows, in percent.
  float SpinnerValue(const char* page, int spinId) const { return headless::SpinnerValue(Page(page), spinId); }

  headless::Host host;
  ExpressionObject* edited = nullptr;
};

inline float Param(ExpressionObject* obj, int i, TimeValue t = 0) {
  float v = -99.0f;
  Interval valid = FOREVER;
  obj->pblock->GetValue(i, t, v, valid);
  return v;
}

// The object's evaluated points at t.
inline std::vector<Point3> Points(Object* obj, TimeValue t = 0) {
  std::vector<Point3> points;
  ObjectState os = obj->Eval(t);
  for (int i = 0; os.obj && i < os.obj->NumPoints(); ++i) points.push_back(os.obj->GetPoint(i));
  return points;
}

}  // namespace expression_panel

#endif

// The expression object's rollups: the pages and parameter maps of the
// command panel, the Face Targets page and the pick-method radios.
#include <custcont.h>

#include "mirova.h"
#include "mirovaobj_internal.h"
#include "mirovaobj_ui.h"
#include "resource.h"

IObjParam* ip = nullptr;
bool creating = false;
IParamMap* percentMap = nullptr;
IParamMap* scaleMap = nullptr;
HWND hAboutRollup = nullptr;
HWND hTargetsRollup = nullptr;
HWND hTrackerRollup = nullptr;

namespace {

// Each rollup's edit and spinner ids, in rollup order.
struct SpinnerIds {
  int edit, spin;
};
const SpinnerIds percentIds[NUM_CHANNELS] = {
    {IDC_PCT_MOUTH_VERTICAL_EDIT, IDC_PCT_MOUTH_VERTICAL_SPIN},
    {IDC_PCT_MOUTH_HORIZONTAL_EDIT, IDC_PCT_MOUTH_HORIZONTAL_SPIN},
    {IDC_PCT_LEFT_EYELID_EDIT, IDC_PCT_LEFT_EYELID_SPIN},
    {IDC_PCT_RIGHT_EYELID_EDIT, IDC_PCT_RIGHT_EYELID_SPIN},
    {IDC_PCT_LEFT_EYEBROW_EDIT, IDC_PCT_LEFT_EYEBROW_SPIN},
    {IDC_PCT_RIGHT_EYEBROW_EDIT, IDC_PCT_RIGHT_EYEBROW_SPIN},
    {IDC_PCT_LEFT_CHEEK_EDIT, IDC_PCT_LEFT_CHEEK_SPIN},
    {IDC_PCT_RIGHT_CHEEK_EDIT, IDC_PCT_RIGHT_CHEEK_SPIN},
    {IDC_PCT_LEFT_SQUINT_EDIT, IDC_PCT_LEFT_SQUINT_SPIN},
    {IDC_PCT_RIGHT_SQUINT_EDIT, IDC_PCT_RIGHT_SQUINT_SPIN},
    {IDC_PCT_FROWN_EDIT, IDC_PCT_FROWN_SPIN}};
const SpinnerIds scaleIds[NUM_CHANNELS] = {
    {IDC_SCALE_MOUTH_VERTICAL_EDIT, IDC_SCALE_MOUTH_VERTICAL_SPIN},
    {IDC_SCALE_MOUTH_HORIZONTAL_EDIT, IDC_SCALE_MOUTH_HORIZONTAL_SPIN},
    {IDC_SCALE_LEFT_EYELID_EDIT, IDC_SCALE_LEFT_EYELID_SPIN},
    {IDC_SCALE_RIGHT_EYELID_EDIT, IDC_SCALE_RIGHT_EYELID_SPIN},
    {IDC_SCALE_LEFT_EYEBROW_EDIT, IDC_SCALE_LEFT_EYEBROW_SPIN},
    {IDC_SCALE_RIGHT_EYEBROW_EDIT, IDC_SCALE_RIGHT_EYEBROW_SPIN},
    {IDC_SCALE_LEFT_CHEEK_EDIT, IDC_SCALE_LEFT_CHEEK_SPIN},
    {IDC_SCALE_RIGHT_CHEEK_EDIT, IDC_SCALE_RIGHT_CHEEK_SPIN},
    {IDC_SCALE_LEFT_SQUINT_EDIT, IDC_SCALE_LEFT_SQUINT_SPIN},
    {IDC_SCALE_RIGHT_SQUINT_EDIT, IDC_SCALE_RIGHT_SQUINT_SPIN},
    {IDC_SCALE_FROWN_EDIT, IDC_SCALE_FROWN_SPIN}};

ParamUIDesc PercentDesc(int k) {
  return ParamUIDesc(ParamInRollupOrder(k), EDITTYPE_FLOAT, percentIds[k].edit, percentIds[k].spin, 0.0f,
                     100.0f, 0.1f, stdPercentDim);
}
ParamUIDesc ScaleDesc(int k) {
  return ParamUIDesc(ParamInRollupOrder(NUM_CHANNELS + k), EDITTYPE_FLOAT, scaleIds[k].edit, scaleIds[k].spin,
                     -99999.0f, 99999.0f, 1.0f, stdPercentDim);
}

// The radio of each pick method, by method code.
const int pickMethodRadio[4] = {IDC_PICK_COPY, IDC_PICK_REFERENCE, IDC_PICK_INSTANCE, IDC_PICK_MOVE};

const COLORREF pickHighlight = RGB(192, 255, 192);

ExpressionObject* ObjectOf(HWND hwnd) {
  return reinterpret_cast<ExpressionObject*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}
void Bind(HWND hwnd, ExpressionObject* obj) {
  if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(obj));
}

// A page the host has already destroyed (its panel closed with it) is gone.
HWND LivePage(HWND page) { return page && IsWindow(page) ? page : nullptr; }

HWND AddPage(IObjParam* i, int dlg, DLGPROC proc, const TCHAR* title, ExpressionObject* obj, DWORD flags) {
  HWND page = i->AddRollupPage(hInstance, MAKEINTRESOURCE(dlg), proc, title, reinterpret_cast<LPARAM>(obj),
                               flags);
  i->RegisterDlgWnd(page);
  return page;
}

void RemovePage(IObjParam* i, HWND& page) {
  if (!page) return;
  i->UnRegisterDlgWnd(page);
  i->DeleteRollupPage(page);
  page = nullptr;
}

// The object whose block the maps show, so that its deletion can unbind them.
ExpressionObject* mapsObject = nullptr;

// A host that went away took its panel down, pages and maps with it,
// without an edit ending: nothing of it may be used again.
void ForgetPanelOfGoneHost() {
  if (!hAboutRollup || IsWindow(hAboutRollup)) return;
  hAboutRollup = hTargetsRollup = hTrackerRollup = nullptr;
  // The maps' pages went with the panel; the maps themselves are still ours.
  DestroyCPParamMap(percentMap);
  DestroyCPParamMap(scaleMap);
  percentMap = scaleMap = nullptr;
  mapsObject = nullptr;
}

IParamArray* ParamsOf(ExpressionObject* obj) { return obj->pblock; }

void BindMap(IParamMap*& map, ParamUIDesc* descs, ExpressionObject* obj, IObjParam* i, int dlg,
             const TCHAR* title, DWORD flags) {
  if (!map)
    map = CreateCPParamMap(descs, NUM_CHANNELS, ParamsOf(obj), i, hInstance, MAKEINTRESOURCE(dlg), title, flags);
  else
    map->SetParamBlock(ParamsOf(obj));
}

// --- Face Targets page messages ---

BOOL InitFaceTargets(HWND hwnd, ExpressionObject* obj) {
  Bind(hwnd, obj);
  hTargetsRollup = hwnd;
  for (int id = IDC_TARGET_NEUTRAL; id <= IDC_TARGET_RIGHT_SQUINT; ++id) {
    ICustButton* button = GetICustButton(GetDlgItem(hwnd, id));
    if (!button) continue;
    button->SetType(CBT_CHECK);
    button->SetHighlightColor(pickHighlight);
    ReleaseICustButton(button);
  }
  obj->RefreshTargetButtons();
  obj->ShowPickMethod(pickMethod);
  return TRUE;
}

BOOL FaceTargetsCommand(ExpressionObject* obj, int id) {
  if (id >= IDC_TARGET_NEUTRAL && id <= IDC_TARGET_RIGHT_SQUINT) PressTargetButton(obj, id);
  return TRUE;
}

BOOL PassMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (ip) ip->RollupMouseMessage(hwnd, msg, wParam, lParam);
  return FALSE;
}

}  // namespace

ParamUIDesc percentDescs[NUM_CHANNELS] = {PercentDesc(0), PercentDesc(1), PercentDesc(2), PercentDesc(3),
                                          PercentDesc(4), PercentDesc(5), PercentDesc(6), PercentDesc(7),
                                          PercentDesc(8), PercentDesc(9), PercentDesc(10)};
ParamUIDesc scaleDescs[NUM_CHANNELS] = {ScaleDesc(0), ScaleDesc(1), ScaleDesc(2), ScaleDesc(3),
                                        ScaleDesc(4), ScaleDesc(5), ScaleDesc(6), ScaleDesc(7),
                                        ScaleDesc(8), ScaleDesc(9), ScaleDesc(10)};

// --- the pages' procedures ---

INT_PTR CALLBACK AboutDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

INT_PTR CALLBACK FaceTargetsDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ExpressionObject* obj = ObjectOf(hwnd);
  if (!obj && msg != WM_INITDIALOG) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return InitFaceTargets(hwnd, reinterpret_cast<ExpressionObject*>(lParam));
    case WM_COMMAND: return FaceTargetsCommand(obj, LOWORD(wParam));
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return PassMouse(hwnd, msg, wParam, lParam);
    default: return FALSE;
  }
}

// --- editing ---

void ExpressionObject::BeginEditParams(IObjParam* i, ULONG flags, Animatable*) {
  ip = i;
  creating = (flags & BEGIN_EDIT_CREATE) != 0;
  ForgetPanelOfGoneHost();
  if (!hAboutRollup)
    hAboutRollup = AddPage(i, IDD_ABOUT, AboutDlgProc, _T("About"), this, APPENDROLL_CLOSED);
  else
    Bind(hAboutRollup, this);
  BindMap(percentMap, percentDescs, this, i, IDD_PERCENTAGES, _T("Percentages"), 0);
  BindMap(scaleMap, scaleDescs, this, i, IDD_SCALES, _T("Scales"), APPENDROLL_CLOSED);
  mapsObject = this;
  if (!hTargetsRollup) {
    hTargetsRollup = AddPage(i, IDD_FACE_TARGETS, FaceTargetsDlgProc, _T("Face Targets"), this, 0);
    hTrackerRollup = AddPage(i, IDD_FACE_TRACKER, FaceTrackerDlgProc, _T("Face Tracker"), this, 0);
  } else {
    Bind(hTargetsRollup, this);
    Bind(hTrackerRollup, this);
    RefreshTargetButtons();
    ShowPickMethod(pickMethod);
  }
}

void ExpressionObject::EndEditParams(IObjParam* i, ULONG flags, Animatable*) {
  i->ClearPickMode();
  creating = false;
  pickMethod = ReadPickMethod();
  if (flags & END_EDIT_REMOVEUI) {
    if (percentMap) DestroyCPParamMap(percentMap);
    percentMap = nullptr;
    if (scaleMap) DestroyCPParamMap(scaleMap);
    scaleMap = nullptr;
    mapsObject = nullptr;
    RemovePage(i, hAboutRollup);
    RemovePage(i, hTargetsRollup);
    RemovePage(i, hTrackerRollup);
  } else {
    Bind(hAboutRollup, nullptr);
    Bind(hTargetsRollup, nullptr);
    Bind(hTrackerRollup, nullptr);
  }
}

void ExpressionObject::RefreshTargetButtons() {
  if (!hTargetsRollup) return;
  for (int slot = 0; slot < NUM_FACE_TARGETS; ++slot) {
    ICustButton* button = GetICustButton(GetDlgItem(hTargetsRollup, IDC_TARGET_NEUTRAL + slot));
    if (!button) continue;
    button->SetText(targets[slot].object ? _T("Assigned") : _T("<none>"));
    ReleaseICustButton(button);
  }
}

TargetPickMethod ExpressionObject::ReadPickMethod() {
  static const TargetPickMethod order[] = {PICK_REFERENCE, PICK_COPY, PICK_INSTANCE, PICK_MOVE};
  for (TargetPickMethod m : order)
    if (hTargetsRollup && IsDlgButtonChecked(hTargetsRollup, pickMethodRadio[m]) == BST_CHECKED) return m;
  return PICK_INSTANCE;
}

void ExpressionObject::ShowPickMethod(int m) {
  if (!hTargetsRollup) return;
  static const int order[] = {IDC_PICK_REFERENCE, IDC_PICK_COPY, IDC_PICK_INSTANCE, IDC_PICK_MOVE};
  for (int radio : order) CheckDlgButton(hTargetsRollup, radio, BST_UNCHECKED);
  if (m >= PICK_COPY && m <= PICK_MOVE) CheckDlgButton(hTargetsRollup, pickMethodRadio[m], BST_CHECKED);
}

void ShowTargetButtonChecked(int id, BOOL checked) {
  if (!hTargetsRollup) return;
  ICustButton* button = GetICustButton(GetDlgItem(hTargetsRollup, id));
  if (!button) return;
  button->SetCheck(checked);
  ReleaseICustButton(button);
}

// Nothing on the panel may keep pointing at a deleted object: its pages
// would hand it to the next message, the maps would show a freed block.
void DetachFromPanel(ExpressionObject* obj) {
  targetPickMode.Forget(obj);
  if (createMode.obj == obj && createMode.ip) createMode.ip->StopCreating();
  if (createMode.obj == obj) createMode.End(createMode.ip);
  for (HWND page : {hAboutRollup, hTargetsRollup, hTrackerRollup})
    if (LivePage(page) && ObjectOf(page) == obj) Bind(page, nullptr);
  if (mapsObject == obj) {
    if (percentMap) percentMap->SetParamBlock(nullptr);
    if (scaleMap) scaleMap->SetParamBlock(nullptr);
    mapsObject = nullptr;
  }
}

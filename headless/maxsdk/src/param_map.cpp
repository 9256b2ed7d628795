// Parameter maps: a rollup page whose spinners show parameters of a block at
// the host's current time and set them when the user edits them. A change of
// the block or of the time invalidates the page; the spinners are set when
// it is painted, so a run of changes costs one showing.
#include <iparamm.h>

#include <algorithm>
#include <vector>

namespace {

class ParamMap : public IParamMap, public ReferenceMaker, public TimeChangeCallback {
 public:
  ParamMap(ParamUIDesc* desc, int count, IParamArray* pb, Interface* ip);
  ~ParamMap() override;

  void SetParamBlock(IParamArray* pb) override;
  IParamArray* GetParamBlock() override { return pb; }
  void Invalidate() override;

  // The block, held as the map's one reference so that its changes (and
  // those of its controllers) reach the map.
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override { return block; }
  void SetReference(int, RefTargetHandle target) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage message) override;

  void TimeChanged(TimeValue) override { Invalidate(); }

  // From the page's dialog procedure.
  void Bind(HWND dlg);
  void SpinnerChanged(int spinId, ISpinnerControl* spinner);
  void PageGone() { page = nullptr; }
  void PassMouse(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
  void SetPage(HWND dlg) { page = dlg; }
  HWND Page() const { return page; }
  void ShowIfStale() {
    if (stale) ShowValues();
  }

 private:
  bool HostStillThere() const { return ip && ip == GetCOREInterface(); }
  ParamDimension* Dimension(const ParamUIDesc& d) const { return d.dim ? d.dim : defaultDim; }
  void ShowValues();
  void Show(const ParamUIDesc& d, ISpinnerControl* spinner);

  std::vector<ParamUIDesc> descs;
  IParamArray* pb = nullptr;
  IParamBlock* block = nullptr;  // pb's block when it has one (the reference)
  Interface* ip;
  HWND page = nullptr;
  bool stale = false;  // the page is invalid and will show the block when painted
};

ParamMap::ParamMap(ParamUIDesc* desc, int count, IParamArray* pb, Interface* ip)
    : descs(desc, desc + (desc && count > 0 ? count : 0)), ip(ip) {
  SetParamBlock(pb);
  ip->RegisterTimeChangeCallback(this);
}

ParamMap::~ParamMap() {
  // The host may have closed already, taking the page and its callbacks.
  if (HostStillThere()) {
    ip->UnRegisterTimeChangeCallback(this);
    if (IsWindow(page)) {
      SetWindowLongPtrA(page, GWLP_USERDATA, 0);
      ip->DeleteRollupPage(page);
    }
  }
  DeleteAllRefsFromMe();
}

void ParamMap::SetParamBlock(IParamArray* newPb) {
  IParamBlock* newBlock = newPb ? newPb->GetParamBlock() : nullptr;
  pb = newPb;
  if (newBlock != block) ReplaceReference(0, newBlock, TRUE);
  ShowValues();
}

void ParamMap::SetReference(int, RefTargetHandle target) {
  // A block deleted under the map leaves it without one.
  if (!target && block) pb = nullptr;
  block = static_cast<IParamBlock*>(target);
}

RefResult ParamMap::NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage message) {
  if (message == REFMSG_CHANGE) Invalidate();
  if (message == REFMSG_TARGET_DELETED) pb = nullptr;
  return REF_SUCCEED;
}

void ParamMap::Show(const ParamUIDesc& d, ISpinnerControl* spinner) {
  float v = 0.0f;
  Interval valid = FOREVER;
  if (pb && pb->GetValue(d.index, ip->GetTime(), v, valid))
    spinner->SetValue(Dimension(d)->Convert(v), FALSE);
}

void ParamMap::Invalidate() {
  if (stale || !IsWindow(page)) return;
  stale = true;
  InvalidateRect(page, nullptr, FALSE);
}

void ParamMap::ShowValues() {
  stale = false;
  if (!IsWindow(page) || !pb) return;
  for (const ParamUIDesc& d : descs) {
    ISpinnerControl* spinner = GetISpinner(GetDlgItem(page, d.idSpin));
    if (!spinner) continue;
    Show(d, spinner);
    ReleaseISpinner(spinner);
  }
}

void ParamMap::Bind(HWND dlg) {
  page = dlg;
  for (const ParamUIDesc& d : descs) {
    ISpinnerControl* spinner = GetISpinner(GetDlgItem(dlg, d.idSpin));
    if (!spinner) continue;
    spinner->SetLimits(d.lowLim, d.highLim, FALSE);
    spinner->SetScale(d.scale);
    spinner->LinkToEdit(GetDlgItem(dlg, d.idEdit), d.spinType);
    Show(d, spinner);
    ReleaseISpinner(spinner);
  }
}

void ParamMap::SpinnerChanged(int spinId, ISpinnerControl* spinner) {
  auto d = std::find_if(descs.begin(), descs.end(),
                        [&](const ParamUIDesc& u) { return u.idSpin == spinId; });
  if (d == descs.end() || !pb || !spinner) return;
  float shown = std::min(std::max(spinner->GetFVal(), std::min(d->lowLim, d->highLim)),
                         std::max(d->lowLim, d->highLim));
  pb->SetValue(d->index, ip->GetTime(), Dimension(*d)->UnConvert(shown));
  // A block with a reference has told the map already; a bare array cannot.
  if (!block) ShowValues();
}

void ParamMap::PassMouse(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  ip->RollupMouseMessage(dlg, msg, wParam, lParam);
}

INT_PTR CALLBACK ParamMapDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    reinterpret_cast<ParamMap*>(lParam)->Bind(hwnd);
    return TRUE;
  }
  auto* map = reinterpret_cast<ParamMap*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!map) return FALSE;
  switch (msg) {
    case CC_SPINNER_CHANGE:
      map->SpinnerChanged(LOWORD(wParam), reinterpret_cast<ISpinnerControl*>(lParam));
      return TRUE;
    case WM_PAINT:
      map->ShowIfStale();
      return FALSE;  // the dialog paints itself as usual
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      map->PassMouse(hwnd, msg, wParam, lParam);
      return FALSE;
    case WM_DESTROY:
      map->PageGone();
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

ParamUIDesc::ParamUIDesc(int index, EditSpinnerType spinType, int idEdit, int idSpin, float lowLim,
                         float highLim, float scale, ParamDimension* dim)
    : index(index),
      spinType(spinType),
      idEdit(idEdit),
      idSpin(idSpin),
      lowLim(lowLim),
      highLim(highLim),
      scale(scale),
      dim(dim) {}

IParamMap* CreateCPParamMap(ParamUIDesc* desc, int count, IParamArray* pb, Interface* ip,
                            HINSTANCE hInst, const TCHAR* dlgTemplate, const TCHAR* title,
                            DWORD flags) {
  if (!ip) return nullptr;
  auto* map = new ParamMap(desc, count, pb, ip);
  HWND page = ip->AddRollupPage(hInst, dlgTemplate, ParamMapDlgProc, title,
                                reinterpret_cast<LPARAM>(map), flags);
  map->SetPage(page);
  return map;
}

void DestroyCPParamMap(IParamMap* m) { delete static_cast<ParamMap*>(m); }

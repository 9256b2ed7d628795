// Stand-in: parameter maps, which bind a rollup's spinners to parameters of
// a parameter block and keep them in step with it.
#ifndef HEADLESS_IPARAMM_H
#define HEADLESS_IPARAMM_H
#include <custcont.h>
#include <iparamb.h>
#include <maxapi.h>

// One control of a map: here, a spinner with its edit box bound to the float
// parameter index, limited to lowLim..highLim and stepping by scale, both in
// the dimension's units (what the user sees).
class ParamUIDesc {
 public:
  ParamUIDesc(int index, EditSpinnerType spinType, int idEdit, int idSpin, float lowLim,
              float highLim, float scale, ParamDimension* dim = defaultDim);
  int index;
  EditSpinnerType spinType;
  int idEdit, idSpin;
  float lowLim, highLim, scale;
  ParamDimension* dim;
};

// A map shows each parameter at the host's current time through its
// dimension, and follows the block by itself: its changes, keys on its
// controllers and the time slider invalidate the page, whose spinners show
// them when it is next painted (keys set by the thousand are shown once).
// The user's edit sets the parameter at the current time (a key in animate
// mode).
class IParamMap {
 public:
  // Binds the map to another block (null: the spinners keep what they show
  // and the user's edits change nothing); the spinners show its values.
  virtual void SetParamBlock(IParamArray* pb) = 0;
  virtual IParamArray* GetParamBlock() = 0;
  // The spinners show the block's values again at the page's next paint.
  virtual void Invalidate() = 0;

 protected:
  ~IParamMap() = default;
};

// A rollup page of the command panel (ip->AddRollupPage with the map's own
// dialog procedure; flags APPENDROLL_CLOSED rolls it up) from the dialog
// template, whose spinners follow pb (the descriptors are copied).
IParamMap* CreateCPParamMap(ParamUIDesc* desc, int count, IParamArray* pb, Interface* ip,
                            HINSTANCE hInst, const TCHAR* dlgTemplate, const TCHAR* title,
                            DWORD flags);
// Deletes the map's page and the map.
void DestroyCPParamMap(IParamMap* m);

#endif

// Stand-in: parameter maps, which bind a rollup's spinners to parameters of
// a parameter block and keep them in step with it.
#ifndef STANDIN_IPARAMM_H
#define STANDIN_IPARAMM_H
#include <iparamb.h>
#include <maxapi.h>

enum EditSpinnerType { EDITTYPE_INT, EDITTYPE_FLOAT, EDITTYPE_UNIVERSE, EDITTYPE_POS_INT,
                       EDITTYPE_POS_FLOAT, EDITTYPE_POS_UNIVERSE, EDITTYPE_TIME };

// One control of a map: here, a spinner with its edit box bound to the float
// parameter index, limited to lowLim..highLim in the dimension's units.
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

class IParamMap {
 public:
  // Binds the map to another block; the spinners show its values.
  virtual void SetParamBlock(IParamArray* pb) = 0;
  virtual void Invalidate() = 0;

 protected:
  ~IParamMap() = default;
};

// A rollup page from the dialog template whose spinners follow pb.
IParamMap* CreateCPParamMap(ParamUIDesc* desc, int count, IParamArray* pb, Interface* ip,
                            HINSTANCE hInst, const TCHAR* dlgTemplate, const TCHAR* title,
                            DWORD flags);
void DestroyCPParamMap(IParamMap* m);

#endif

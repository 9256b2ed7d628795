// Stand-in: parameter blocks, the host's store of an object's animatable
// values.
//
// A block is made from a table of ParamBlockDescID (type, animatable, id) and
// carries a version number. A parameter holds a constant until it is first
// set with animate mode on; then the block gives it a keyframe controller
// (reference i of the block is parameter i's controller, or null). Owners
// answer REFMSG_GET_PARAM_NAME and REFMSG_GET_PARAM_DIM for the names and
// units of their parameters. An old version of a block saved in a scene is
// upgraded after loading by a ParamBlockPLCB, matching parameters by id.
// Stand-in: only float parameters.
#ifndef HEADLESS_IPARAMB_H
#define HEADLESS_IPARAMB_H
#include <control.h>
#include <ioapi.h>
#include <point3.h>
#include <ref.h>

enum ParamType { TYPE_INT, TYPE_FLOAT, TYPE_POINT3, TYPE_RGBA, TYPE_BOOL };

class UserType;

struct ParamBlockDescID {
  ParamType type;
  UserType* user;  // unused
  BOOL animatable;
  DWORD id;  // matches parameters across versions
};

class ParamVersionDesc {
 public:
  ParamBlockDescID* desc;
  int count;
  DWORD version;
  ParamVersionDesc(ParamBlockDescID* d, int c, int v) : desc(d), count(c), version(static_cast<DWORD>(v)) {}
};

// The unit in which a parameter is shown: Convert turns a stored value into
// the shown one, UnConvert back.
typedef int DimType;
#define DIM_WORLD 0
#define DIM_ANGLE 1
#define DIM_COLOR 2
#define DIM_COLOR255 3
#define DIM_PERCENT 4
#define DIM_NORMALIZED 5
#define DIM_SEGMENTS 6
#define DIM_TIME 7
#define DIM_CUSTOM 8

class ParamDimension {
 public:
  virtual DimType DimensionType() = 0;
  virtual float Convert(float value) = 0;
  virtual float UnConvert(float value) = 0;

 protected:
  ~ParamDimension() = default;
};

extern ParamDimension* defaultDim;     // shown as stored
extern ParamDimension* stdPercentDim;  // 1.0 is shown as 100

// What an owner fills in when its block asks for a parameter's name or unit
// (REFMSG_GET_PARAM_NAME / REFMSG_GET_PARAM_DIM, with a pointer to one of
// these as the part id).
class GetParamName {
 public:
  TSTR& name;
  int index;
  GetParamName(TSTR& n, int i) : name(n), index(i) {}
};

class GetParamDim {
 public:
  int index;
  ParamDimension* dim;
  GetParamDim(int i, ParamDimension* d = defaultDim) : index(i), dim(d) {}
};

class IParamBlock;

// The value face of a block, indexed by parameter.
class IParamArray {
 public:
  // Sets parameter i at t: a key at t while animate mode is on, the value
  // otherwise. FALSE for an index out of range or a parameter of another type.
  virtual BOOL SetValue(int i, TimeValue t, float v) = 0;
  // The value of parameter i at t; ivalid is narrowed to the time it holds.
  virtual BOOL GetValue(int i, TimeValue t, float& v, Interval& ivalid) = 0;
  virtual IParamBlock* GetParamBlock() { return nullptr; }

 protected:
  ~IParamArray() = default;
};

class IParamBlock : public ReferenceTarget, public IParamArray {
 public:
  virtual int NumParams() = 0;
  virtual ParamType GetParameterType(int i) = 0;
  virtual DWORD GetVersion() = 0;
  // The parameter's controller, null while it is constant.
  virtual Control* GetController(int i) = 0;
  virtual void SetController(int i, Control* c, BOOL preserveFrame0Value = TRUE) = 0;
  virtual void RemoveController(int i) = 0;
  // The unit the owner gives parameter i.
  virtual ParamDimension* GetParamDimension(int i) = 0;

  // Stand-in: the table the block was made from, and a parameter's constant.
  virtual const ParamBlockDescID& GetDesc(int i) = 0;
  virtual float GetConstant(int i) = 0;

  SClass_ID SuperClassID() override { return PARAMETER_BLOCK_CLASS_ID; }
  IParamBlock* GetParamBlock() override { return this; }
};

// A new block of count parameters, all zero and constant; the caller makes
// it a reference.
IParamBlock* CreateParameterBlock(ParamBlockDescID* pdesc, int count, DWORD version = 0);
// A new block of the new table with the values and controllers of oldPB's
// parameters of the same id; the others are zero.
IParamBlock* UpdateParameterBlock(ParamBlockDescID* pdescOld, int oldCount, IParamBlock* oldPB,
                                  ParamBlockDescID* pdescNew, int newCount, DWORD newVersion);

// Registered by an object's Load: after loading, replaces the block in
// reference refNum of targ, when it has one of the old versions, by the
// current version made from it.
class ParamBlockPLCB : public PostLoadCallback {
 public:
  ParamVersionDesc* versions;
  int count;
  ParamVersionDesc* cur;
  ReferenceTarget* targ;
  int pbRefNum;
  ParamBlockPLCB(ParamVersionDesc* v, int cnt, ParamVersionDesc* c, ReferenceTarget* t, int refNum)
      : versions(v), count(cnt), cur(c), targ(t), pbRefNum(refNum) {}
  void proc(ILoad* iload) override;
  int Priority() override { return 0; }
};

#endif

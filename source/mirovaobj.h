// The expression object: a compound geometric object that blends twelve face
// targets (a Neutral face and eleven expression shapes of the same mesh)
// under eleven animated expression channels.
//
// Each channel is a percentage and a scale in the object's parameter block
// (reference 0), both stored as plain factors (1.0 is shown as 100 %); their
// layout is in channels.h. Channel c drives target c + 1; target i is
// reference i + 1. At time t the object evaluates to the Neutral's points,
// each moved towards the same point of every assigned target by that
// channel's weight, percentage x scale (three openness channels count
// 1 - percentage instead).
//
// Ownership: the object owns its target slots, the result of its last
// evaluation (cache), the arrays it blends from (blend_cache.h) and its
// tracker input. The parameter block and the
// target objects are reference targets it only references.
#ifndef MIROVA_MIROVAOBJ_H
#define MIROVA_MIROVAOBJ_H
#include <iparamb.h>
#include <max.h>
#include <object.h>

#include "blend_breakdown.h"
#include "blend_cache.h"
#include "channels.h"
#include "facetracker.h"

#define EXPRESSION_OBJECT_CLASS_ID Class_ID(0x5FF304C1, 0x3C372967)

#define CURRENT_PARAM_VERSION 1

// How a picked node becomes a target.
enum TargetPickMethod { PICK_COPY = 0, PICK_REFERENCE = 1, PICK_INSTANCE = 2, PICK_MOVE = 3 };

// The block's tables: the current version (22 floats, version 1), the old
// one (14 floats, version 0), and the list of old versions for the upgrade.
extern ParamBlockDescID channelParamDesc[NUM_CHANNEL_PARAMS];
extern ParamBlockDescID channelParamDescV0[NUM_CHANNEL_PARAMS_V0];
extern ParamVersionDesc paramVersions[1];
extern ParamVersionDesc currentParamVersion;

// The class-wide way picked nodes become targets; PICK_INSTANCE after load
// and after the host resets class parameters.
extern TargetPickMethod pickMethod;

// One target: the referenced shape (null while unassigned) and the
// object-offset transform of the node it was picked from.
struct TargetSlot {
  Object* object = nullptr;
  Matrix3 offsetTM = Matrix3(1);
};

class ExpressionObject : public GeomObject {
 public:
  TargetSlot targets[NUM_FACE_TARGETS];
  IParamBlock* pblock = nullptr;  // reference 0; null until made or loaded
  ObjectState cache;              // the last evaluation's result, owned here
  int pickButtonId = -1;          // the face-target button pressed last
  int pickTargetIndex = -1;       // the target being picked
  TrackerInput trackerInput;

  // loading is TRUE when the host builds the object to load or clone it: the
  // parameter block then arrives as a reference. Otherwise the object makes
  // its block with every parameter at its creation value at time 0.
  explicit ExpressionObject(BOOL loading = FALSE);
  ~ExpressionObject() override;
  ExpressionObject(const ExpressionObject&) = delete;
  ExpressionObject& operator=(const ExpressionObject&) = delete;

  // Animatable
  void GetClassName(TSTR& s) override { s = _T("MirovaObject"); }
  Class_ID ClassID() override { return EXPRESSION_OBJECT_CLASS_ID; }
  void DeleteThis() override { delete this; }
  int NumSubs() override { return 1; }
  Animatable* SubAnim(int) override { return pblock; }
  TSTR SubAnimName(int) override { return _T("Parameters"); }

  // ReferenceMaker: 13 references, the block and the twelve targets.
  // Save writes the targets' offset transforms; Load reads them back (a scene
  // without them leaves identities; IO_ERROR for a damaged one) and upgrades
  // an old block afterwards.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;
  int NumRefs() override { return NUM_FACE_TARGETS + 1; }
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle target) override;
  // Answers the block's questions for parameter names and units (REF_STOP);
  // passes every other message on.
  RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID,
                             RefMessage message) override;
  // A new object with a clone of the block, and nothing else: no targets.
  RefTargetHandle Clone(RemapDir& remap) override;

  // The rollups: About, Percentages, Scales, Face Targets and Face Tracker,
  // built by the first edit and re-bound to this object by later ones. flags
  // BEGIN_EDIT_CREATE: the object is being created. END_EDIT_REMOVEUI
  // removes the pages; without it they stay for the next object.
  void BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev = nullptr) override;
  void EndEditParams(IObjParam* ip, ULONG flags, Animatable* next = nullptr) override;
  // Writes "Assigned" or "<none>" on the twelve face-target buttons.
  void RefreshTargetButtons();
  // The method the Face Targets radios show (PICK_INSTANCE when none does).
  TargetPickMethod ReadPickMethod();
  // Checks the radio of m (none for a code outside the four).
  void ShowPickMethod(int m);

  // Whether candidate (evaluated at t) may become the target pickTargetIndex:
  // no particle system, nothing that depends on this object, a mesh or what
  // converts to one, and for every slot but the Neutral the Neutral's point
  // count.
  BOOL IsValidTarget(TimeValue t, Object* candidate);
  // Makes node's object the target pickTargetIndex by method, with the
  // node's object offset at t. PICK_MOVE deletes the node.
  void AssignTarget(INode* node, TimeValue t, int method);

  // BaseObject
  CreateMouseCallBack* GetCreateMouseCallBack() override;
  const TCHAR* GetObjectName() override { return _T("Mirova"); }

  // Object
  void InitNodeName(TSTR& s) override { s = _T("Mirova"); }
  // The result is made for one instant only.
  Interval ObjectValidity(TimeValue t) override { return Interval(t, t); }
  // The blended face at t: a locked triangle-mesh object that stays owned by
  // this object until the next evaluation. Without a Neutral target, an
  // empty mesh (and an assertion report).
  ObjectState Eval(TimeValue t) override;
  // Asks the result of evaluating at time 0.
  int CanConvertToType(Class_ID obtype) override;
  // The result at t converted, as a new object the caller owns; null when it
  // does not convert.
  Object* ConvertToType(TimeValue t, Class_ID obtype) override;

  // Each channel's weight at t, by channel, as evaluation blends with it:
  // percentage (or 1 - percentage) x scale, neither clamped.
  void ChannelWeights(TimeValue t, float weights[NUM_CHANNELS]);

  // The blend at t taken apart (blend_breakdown.h); empty without a
  // Neutral that has points.
  void Breakdown(TimeValue t, BlendBreakdown& breakdown);

  // Memory held between evaluations for blending: the Neutral's transformed
  // points and each target's difference from them, made when first blended.
  size_t BlendCacheBytes() const { return blendCache.Bytes(); }

 private:
  BlendCache blendCache;

  // The arrays made from whichever slots hold hTarget may not be used again.
  void InvalidateBlendArraysOf(RefTargetHandle hTarget);
  // Unlocks and deletes the previous result.
  void ReleaseCache();
  // Puts the Neutral's evaluated state (made writable) into cache; false
  // when there is nothing to blend.
  bool TakeNeutralState(TimeValue t, Object* neutral, Object*& neutralResult, bool& pointsCopied);
  // The slots blended at these weights (in channel order) and their weights:
  // assigned, with a weight that is a number other than zero, and at least n
  // points. Returns how many.
  int BlendedTargets(int n, const float weights[NUM_CHANNELS], int slots[NUM_CHANNELS], float used[NUM_CHANNELS]);
  // The result's n points: the Neutral's moved by its offset, and each
  // blended target's difference from them added at its weight.
  void Blend(TimeValue t, Object* neutralResult, int n, bool pointsCopied, const float weights[NUM_CHANNELS]);
  // Locks the result, valid at t only.
  void FinishResult(TimeValue t);
};

// The expression object's class descriptor, one for the library's lifetime.
// The library's class table does not list it.
ClassDesc* GetExpressionObjectDesc();

#endif

// Stand-in: the root of the host's animatable classes.
#ifndef HEADLESS_ANIMATABLE_H
#define HEADLESS_ANIMATABLE_H
#include <maxtypes.h>
#include <strclass.h>

class IObjParam;

class Animatable {
 public:
  virtual ~Animatable() = default;
  virtual void GetClassName(TSTR& s) { s = ""; }
  virtual Class_ID ClassID() { return Class_ID(0, 0); }
  virtual SClass_ID SuperClassID() { return 0; }
  // Plug-in objects are deleted through this, never with delete directly.
  virtual void DeleteThis() { delete this; }

  // Sub-animations: what the track view lists under this one.
  virtual int NumSubs() { return 0; }
  virtual Animatable* SubAnim(int) { return nullptr; }
  virtual TSTR SubAnimName(int) { return TSTR(); }

  // The command panel's editing of this object.
  virtual void BeginEditParams(IObjParam*, ULONG /*flags*/, Animatable* /*prev*/ = nullptr) {}
  virtual void EndEditParams(IObjParam*, ULONG /*flags*/, Animatable* /*next*/ = nullptr) {}

  // Keys of this track.
  virtual int NumKeys() { return 0; }
  virtual TimeValue GetKeyTime(int) { return 0; }
  virtual void DeleteKeys(DWORD /*flags*/) {}
};

#endif

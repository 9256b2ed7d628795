// Stand-in: the plug-in class protocol.
#ifndef HEADLESS_PLUGAPI_H
#define HEADLESS_PLUGAPI_H
#include <maxtypes.h>

class Interface;

// Describes one plug-in class to the host. The host asks the library's class
// table for these and calls Create to make instances.
class ClassDesc {
 public:
  // Stand-in: every descriptor alive in the process is counted
  // (headless::LiveClassDescs), so that a test sees a library that is in
  // the process twice.
  ClassDesc();
  ClassDesc(const ClassDesc&);
  ClassDesc& operator=(const ClassDesc&) = default;
  virtual ~ClassDesc();
  virtual int IsPublic() = 0;
  virtual void* Create(BOOL loading = FALSE) = 0;
  virtual int BeginCreate(Interface*) { return 0; }
  virtual int EndCreate(Interface*) { return 0; }
  virtual const TCHAR* ClassName() = 0;
  virtual SClass_ID SuperClassID() = 0;
  virtual Class_ID ClassID() = 0;
  virtual const TCHAR* Category() = 0;
  virtual BOOL OkToCreate(Interface*) { return TRUE; }
  virtual BOOL HasClassParams() { return FALSE; }
  virtual void EditClassParams(HWND) {}
  virtual void ResetClassParams(BOOL fileReset = FALSE) { (void)fileReset; }
};

// The version word of this SDK release (3000, API 7, revision 0).
#define MAX_RELEASE 3000
#define MAX_API_NUM 7
#define MAX_SDK_REV 0
#define VERSION_3DSMAX ((MAX_RELEASE << 16) + (MAX_API_NUM << 8) + MAX_SDK_REV)

#endif

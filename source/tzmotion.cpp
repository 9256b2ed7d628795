// The motion-control utility's class descriptor and its life in the host's
// utility panel.
#include "tzmotion.h"

#include "mirova.h"
#include "resource.h"

namespace {

// Statics in the order the runtime builds them: class id, utility, descriptor.
const Class_ID motionControlClassID(0x23830F7C, 0x5B474FED);
MotionControlUtility theMotionControl;

class MotionControlClassDesc : public ClassDesc {
 public:
  int IsPublic() override { return 1; }
  void* Create(BOOL) override { return &theMotionControl; }
  const TCHAR* ClassName() override { return _T("TzMotionControl"); }
  SClass_ID SuperClassID() override { return UTILITY_CLASS_ID; }
  Class_ID ClassID() override { return motionControlClassID; }
  const TCHAR* Category() override { return _T("TzTools"); }
};
MotionControlClassDesc motionControlDesc;

}  // namespace

MotionControlUtility& GetMotionControlUtility() { return theMotionControl; }
ClassDesc* GetMotionControlDesc() { return &motionControlDesc; }

// The descriptors of the stand-in's own object classes, which the class
// directory knows from the start (internal to maxsdk).
#ifndef HEADLESS_BUILTIN_CLASSES_H
#define HEADLESS_BUILTIN_CLASSES_H
#include <plugapi.h>

ClassDesc* GetDerivedObjectDesc();
ClassDesc* GetTriObjectDesc();
ClassDesc* GetBoxObjectDesc();
ClassDesc* GetSprayObjectDesc();
ClassDesc* GetFreeCameraDesc();
ClassDesc* GetTargetCameraDesc();
ClassDesc* GetOmniLightDesc();

#endif

// The descriptors of the stand-in's own object classes, which the class
// directory knows from the start, and what the directory tells the scene
// loader (internal to the platform).
#ifndef STANDIN_BUILTIN_CLASSES_H
#define STANDIN_BUILTIN_CLASSES_H
#include <headless_scene.h>
#include <plugapi.h>

ClassDesc* GetDerivedObjectDesc();
ClassDesc* GetTriObjectDesc();
ClassDesc* GetBoxObjectDesc();
ClassDesc* GetSprayObjectDesc();
ClassDesc* GetFreeCameraDesc();
ClassDesc* GetTargetCameraDesc();
ClassDesc* GetOmniLightDesc();

// What references of the class may hold in a loaded file; null for none.
headless::ReferenceCheck FindReferenceCheck(SClass_ID superID, Class_ID classID);

#endif

// Stand-in: the host's directory of plug-in classes, by super class and
// class id. The stand-in's own object classes are in it from the start;
// headless::RegisterClassDesc adds others (see headless_sdk.h).
#ifndef HEADLESS_CLASSDIR_H
#define HEADLESS_CLASSDIR_H
#include <maxtypes.h>

class ClassDesc;

// A new instance of the class (its descriptor's Create()); the caller owns
// it. An unknown class stops the program.
void* CreateInstance(SClass_ID superID, Class_ID classID);
// The descriptor of the class, or null.
ClassDesc* FindClassDesc(SClass_ID superID, Class_ID classID);

#endif

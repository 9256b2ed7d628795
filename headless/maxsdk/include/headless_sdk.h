// What the SDK's libraries offer the headless host and its user above them:
// the records of the host's assertion routine and custom controls, the place
// where the host program puts its core interface, and the class directory's
// registrations. (headless.h gathers it with the Win32 level's records.)
#ifndef HEADLESS_HEADLESS_SDK_H
#define HEADLESS_HEADLESS_SDK_H
#include <iparamb.h>
#include <maxapi.h>
#include <plugapi.h>

#include <string>
#include <vector>

namespace headless {

// One report of the host's assertion routine.
struct AssertRecord {
  int line = 0;
  std::string file;  // as passed by the caller
};
const std::vector<AssertRecord>& AssertReports();

// How often the custom controls were initialised, and for which module.
int CustomControlsInitCount();
HINSTANCE CustomControlsInstance();

// Forgets the assertion reports and the custom controls' set-up.
void ResetSdkRecords();

// Makes ip the core interface that GetCOREInterface returns (null: no host
// runs); returns the one it replaces.
Interface* InstallCoreInterface(Interface* ip);
// Animate mode off and nothing suspended, as a new host starts.
void ResetAnimate();

// Whether reference i of an object of a registered class may hold target
// (never null). Objects cast what their references hold to what they expect,
// so a damaged scene file must not give them anything else.
using ReferenceCheck = bool (*)(int i, ReferenceTarget* target);

// Makes cd's class known to the loader and to CreateInstance (the stand-in
// reads no plug-in's class table by itself). accepts says what its
// references may hold in a loaded file; without it, nothing.
void RegisterClassDesc(ClassDesc* cd, ReferenceCheck accepts = nullptr);
// What references of the class may hold in a loaded file; null for none.
ReferenceCheck FindReferenceCheck(SClass_ID superID, Class_ID classID);

// How many class descriptors of the class are alive in the process: one for
// each copy of its library there.
int LiveClassDescs(Class_ID classID);

// For ReferenceChecks: an object a node can show (geometry, shape, camera,
// light or a modifier pipeline).
bool IsSceneObject(ReferenceTarget* target);
// A parameter block of one of the versions, with that version's parameters
// (count, types and ids in order).
bool IsParamBlockOf(ReferenceTarget* target, const ParamVersionDesc* versions, int count);

}  // namespace headless

#endif

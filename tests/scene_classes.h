// The expression object's class made known to the headless scene loader, as
// the host knows a plug-in's classes: its descriptor, and what its references
// may hold (the parameter block, of either version, in reference 0; objects
// as the twelve targets). Shared by the tests and the scene fuzzer.
#ifndef TESTS_SCENE_CLASSES_H
#define TESTS_SCENE_CLASSES_H

#include <headless_sdk.h>
#include <iparamb.h>

#include "mirovaobj.h"

namespace scene_classes {

inline bool ExpressionObjectAccepts(int i, ReferenceTarget* target) {
  if (i == 0) {
    const ParamVersionDesc known[] = {paramVersions[0], currentParamVersion};
    return headless::IsParamBlockOf(target, known, 2);
  }
  return i <= NUM_FACE_TARGETS && headless::IsSceneObject(target);
}

inline void RegisterExpressionObject() {
  headless::RegisterClassDesc(GetExpressionObjectDesc(), ExpressionObjectAccepts);
}

}  // namespace scene_classes

#endif

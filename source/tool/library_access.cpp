// The one export the command-line host's build of the plug-in adds.
#include "library_access.h"

#include "mirova.h"
#include "mirovaobj.h"
#include "mirovaobj_ui.h"

namespace {

void AssignTarget(ExpressionObject* obj, INode* node, TimeValue t, int method) {
  obj->AssignTarget(node, t, method);
}

void ChannelWeights(ExpressionObject* obj, TimeValue t, float* weights) { obj->ChannelWeights(t, weights); }

const ParamUIDesc* SpinnerOf(int param, const TCHAR** rollupTitle) {
  for (int k = 0; k < NUM_CHANNELS; ++k) {
    if (percentDescs[k].index == param) return *rollupTitle = _T("Percentages"), &percentDescs[k];
    if (scaleDescs[k].index == param) return *rollupTitle = _T("Scales"), &scaleDescs[k];
  }
  return nullptr;
}

const LibraryAccess access = {GetExpressionObjectDesc, AssignTarget, ChannelWeights, SpinnerOf};

}  // namespace

MIROVA_EXPORT const LibraryAccess* MirovaLibraryAccess() { return &access; }

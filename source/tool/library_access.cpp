// The one export the command-line host's build of the plug-in adds.
#include "library_access.h"

#include "mirova.h"
#include "mirovaobj.h"
#include "mirovaobj_ui.h"

namespace {

void ChannelWeights(ExpressionObject* obj, TimeValue t, float* weights) { obj->ChannelWeights(t, weights); }

void Breakdown(ExpressionObject* obj, TimeValue t, BlendBreakdown* breakdown) { obj->Breakdown(t, *breakdown); }

const ParamUIDesc* SpinnerOf(int param, const TCHAR** rollupTitle) {
  for (int k = 0; k < NUM_CHANNELS; ++k) {
    if (percentDescs[k].index == param) return *rollupTitle = _T("Percentages"), &percentDescs[k];
    if (scaleDescs[k].index == param) return *rollupTitle = _T("Scales"), &scaleDescs[k];
  }
  return nullptr;
}

const LibraryAccess access = {GetExpressionObjectDesc, ChannelWeights, Breakdown, SpinnerOf};

}  // namespace

MIROVA_EXPORT const LibraryAccess* MirovaLibraryAccess() { return &access; }

// What the command-line host's build of the plug-in (mirova-tool.dlu: the
// same sources as mirova.dlu and one more export, MirovaLibraryAccess) hands
// the host besides the plug-in interfaces: the expression object's class,
// which the class table does not list, and the few calls the host makes on
// the objects it creates. The host links no copy of the library; everything
// else it reaches through the objects' virtual interfaces. The product
// module has no such export.
#ifndef MIROVA_LIBRARY_ACCESS_H
#define MIROVA_LIBRARY_ACCESS_H
#include <iparamm.h>
#include <max.h>

#include "blend_breakdown.h"

class ExpressionObject;

struct LibraryAccess {
  // The expression object's descriptor, as GetExpressionObjectDesc gives it.
  ClassDesc* (*expressionObjectClass)();
  // ExpressionObject::ChannelWeights: NUM_CHANNELS weights at t.
  void (*channelWeights)(ExpressionObject* obj, TimeValue t, float* weights);
  // ExpressionObject::Breakdown: the blend at t taken apart.
  void (*blendBreakdown)(ExpressionObject* obj, TimeValue t, BlendBreakdown* breakdown);
  // The spinner of parameter param in the Percentages or Scales rollup, and
  // that rollup's title; null for no such parameter.
  const ParamUIDesc* (*spinnerOf)(int param, const TCHAR** rollupTitle);
};

#define MIROVA_LIBRARY_ACCESS_EXPORT "MirovaLibraryAccess"
using LibraryAccessFunction = const LibraryAccess* (*)();

#endif

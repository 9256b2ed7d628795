// The expression object read as a morph mesh, for writing it as glTF: what
// its evaluation blends, taken apart into a base, one delta per target and
// the weights over time.
#ifndef MIROVA_CLI_FACE_MORPH_H
#define MIROVA_CLI_FACE_MORPH_H
#include <maxtypes.h>

#include <ostream>
#include <string>
#include <vector>

#include "gltf_face.h"
#include "library_access.h"

class ExpressionObject;

namespace cli {

// The face at t with every weight at zero: the Neutral's evaluated points
// moved by its offset transform (N * M0), and the triangles of the object's
// evaluated mesh. One target per assigned expression target that evaluation
// can blend (it has the Neutral's points), in target order, named by its
// channel as the host lists it and holding what evaluation adds at weight 1:
// T * Mj - N * M0.
MorphMesh MorphMeshOf(ExpressionObject* obj, TimeValue t);

// The weight of each of mesh's targets at t, as evaluation computes it (one
// that is not a number, which evaluation skips, counts 0).
std::vector<float> TargetWeights(const LibraryAccess& library, ExpressionObject* obj, const MorphMesh& mesh,
                                 TimeValue t);

// The weights at every scene frame from the object's first parameter key to
// its last, both included, added to *track (nothing when no parameter has
// keys); false, with *problem, when they span too many frames to write.
bool FrameWeights(const LibraryAccess& library, ExpressionObject* obj, const MorphMesh& mesh, WeightTrack* track,
                  std::string* problem);

// Writes the object as a glTF file to out (GLB when binary): its morph mesh
// with the weights at t and, when animated, the weights at every frame.
// False, with *problem, when it cannot be written (see WriteFaceGltf); out
// has then had nothing but what a failed write left.
bool ExpressionGltf(const LibraryAccess& library, ExpressionObject* obj, TimeValue t, bool animated, bool binary,
                    std::ostream& out, std::string* problem);

}  // namespace cli

#endif

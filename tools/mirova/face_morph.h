// The expression object written as a glTF face: its blend as the library
// takes it apart, with the weights at one time or at every frame its keys
// span.
#ifndef MIROVA_CLI_FACE_MORPH_H
#define MIROVA_CLI_FACE_MORPH_H
#include <maxtypes.h>

#include <ostream>
#include <string>

#include "blend_breakdown.h"
#include "library_access.h"
#include "obj_file.h"

class ExpressionObject;

namespace cli {

// "" when an animation keyed from first to last (ticks) has few enough
// frames to write; else why not. Checked before the work of keying, too.
std::string AnimationSpanProblem(TimeValue first, TimeValue last);

// The weights of face's targets at every scene frame from the object's first
// parameter key to its last, both included (nothing when no parameter has
// keys); false, with *problem, when they span too many frames to write.
// glTF's times start at 0: keys before it are moved later, all by the same
// *shift ticks (0 when none is).
bool FrameWeights(const LibraryAccess& library, ExpressionObject* obj, const BlendBreakdown& face,
                  WeightTrack* track, TimeValue* shift, std::string* problem);

// What a user is told of keys moved later by shift ticks to start at 0.
std::string ShiftNote(TimeValue shift);

// Writes the object as glTF to out (GLB when output ends in .glb): its blend
// taken apart at t, laid out with the Neutral's mesh as the OBJ file gave it
// (see LayOutFace), the weights at t and, when animated, at every frame;
// animation that had to be moved to start at 0 is said in *note. False,
// with *problem, when it cannot be written (see WriteFaceGltf).
bool WriteExpressionGltf(const LibraryAccess& library, ExpressionObject* obj, const ObjMesh& neutral, TimeValue t,
                         bool animated, const std::string& output, std::ostream& out, std::string* problem,
                         std::string* note = nullptr);

}  // namespace cli

#endif

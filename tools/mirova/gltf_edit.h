// What the tool adds to a user's glTF document goes after the user's: new
// accessors and views at the ends of their lists, their bytes after the
// binary chunk's or in a buffer of their own; an animation it made before is
// replaced in place, its data dropped where they lie last.
#ifndef MIROVA_CLI_GLTF_EDIT_H
#define MIROVA_CLI_GLTF_EDIT_H
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "gltf_document.h"

namespace cli {

// Adds accessors over new data to a document. The bytes go after buffer 0's
// in GLB's binary chunk when the output is GLB and buffer 0 is that chunk
// (or there is no buffer yet); otherwise into a new buffer, embedded in the
// file as a data URI. Finish puts them there.
class GltfAppender {
 public:
  GltfAppender(GltfDocument& doc, bool binaryOutput);
  // values.size() / components floats an element (1, 3 or 4); min and max
  // recorded when bounded (key times need them). The new accessor's index.
  int AddFloats(const std::vector<float>& values, int components, bool bounded);
  void Finish();

 private:
  GltfDocument& doc;
  bool intoBin;
  long long buffer;   // the buffer the new views read
  size_t start;       // where the new bytes begin in it
  std::string bytes;  // the new bytes
};

// The animation called name that this tool made for what ("face",
// "camera"; kept in its extras.mirova), as a run on the tool's own output
// replaces it: its index (-1 when there is none), its data dropped where
// they lie last in the document, else left unused and said on err.
long long TakeOwnAnimation(GltfDocument& doc, const std::string& name, const char* what, std::ostream& err);
// animation, marked as made for what, put at index (appended for -1).
void PutOwnAnimation(GltfDocument& doc, long long index, const char* what, Json animation);

}  // namespace cli

#endif

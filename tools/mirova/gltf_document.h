// A user's glTF 2.0 file kept as it was read: its JSON (keys in their order)
// and GLB's binary chunk. What the tool does not touch goes back out as it
// came in: every property it does not know (extras, extensions), every
// index, every byte of every buffer. What the tool adds goes after the
// user's: new accessors and views at the ends of their lists, their bytes
// after the binary chunk's or in a buffer of their own.
#ifndef MIROVA_CLI_GLTF_DOCUMENT_H
#define MIROVA_CLI_GLTF_DOCUMENT_H
#include <nlohmann/json.hpp>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace cli {

using Json = nlohmann::ordered_json;

struct GltfDocument {
  std::string path;  // as given
  Json json;
  std::string bin;  // GLB's binary chunk; empty when there is none
};

// The largest file read: textures and all.
constexpr std::size_t kMaxGltfBytes = std::size_t(1) << 30;

// Reads path: GLB when it starts with GLB's magic, else glTF's JSON. False,
// with *error ("PATH: why", "PATH:LINE: why"), for a file that is no glTF
// 2.0: not JSON, no asset version 2.x, a GLB whose chunks do not add up.
bool ReadGltfDocument(const std::string& path, GltfDocument* doc, std::string* error);

// json[key] as an array (empty when absent or no array); [] never adds.
const Json& Items(const Json& json, const char* key);
// The whole number at json[key], or fallback when absent or none.
long long IndexAt(const Json& json, const char* key, long long fallback = -1);

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

// Removes accessors (which must be the document's last ones, used by what is
// being replaced), their views and their bytes, when nothing else uses the
// views and the bytes are the last of their buffer; false, with nothing
// removed, otherwise (they are then left unused).
bool DropTrailingData(GltfDocument& doc, const std::set<long long>& accessors);

// The animation called name that this tool made for what ("face",
// "camera"; kept in its extras.mirova), as a run on the tool's own output
// replaces it: its index (-1 when there is none), its data dropped where
// they lie last in the document, else left unused and said on err.
long long TakeOwnAnimation(GltfDocument& doc, const std::string& name, const char* what, std::ostream& err);
// animation, marked as made for what, put at index (appended for -1).
void PutOwnAnimation(GltfDocument& doc, long long index, const char* what, Json animation);

// The document as GLB (binary) or as glTF JSON; a GLB's binary chunk written
// to text goes into buffer 0 as a data URI. False for a GLB past 4 GiB,
// which its header cannot count; out's own failures are its owner's to say.
bool WriteGltfDocument(GltfDocument& doc, bool binary, std::ostream& out);

}  // namespace cli

#endif

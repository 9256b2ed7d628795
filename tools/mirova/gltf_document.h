// A user's glTF 2.0 file kept as it was read: its JSON (keys in their order)
// and GLB's binary chunk. What the tool does not touch goes back out as it
// came in: every property it does not know (extras, extensions), every
// index, every byte of every buffer (gltf_edit.h adds to it).
#ifndef MIROVA_CLI_GLTF_DOCUMENT_H
#define MIROVA_CLI_GLTF_DOCUMENT_H
#include <nlohmann/json.hpp>
#include <ostream>
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

// Buffer 0 is GLB's binary chunk: it has no URI.
bool FirstBufferIsBin(const Json& json);
// bytes as a data URI of application/octet-stream.
std::string DataUri(const std::string& bytes);
inline size_t Align4(size_t n) { return (n + 3) & ~size_t(3); }

// The document as GLB (binary) or as glTF JSON; a GLB's binary chunk written
// to text goes into buffer 0 as a data URI. False for a GLB past 4 GiB,
// which its header cannot count; out's own failures are its owner's to say.
bool WriteGltfDocument(GltfDocument& doc, bool binary, std::ostream& out);

}  // namespace cli

#endif

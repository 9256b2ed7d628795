#include "gltf_document.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "file_names.h"
#include "json_file.h"

namespace cli {

namespace {

const uint32_t kGlbMagic = 0x46546C67, kJsonChunk = 0x4E4F534A, kBinChunk = 0x004E4942;
// Writing JSON back recurses once a level; no glTF nests anywhere near this.
const int kMaxDepth = 256;

uint32_t Word(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

void PutWord(std::ostream& out, uint32_t v) {
  const char b[4] = {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
  out.write(b, 4);
}

// The JSON chunk's text and the binary chunk of a GLB; "" or why not.
std::string SplitGlb(const std::string& bytes, std::string* text, std::string* bin) {
  if (bytes.size() < 20) return "a GLB cut short";
  if (Word(bytes, 4) != 2) return "a GLB of version " + std::to_string(Word(bytes, 4)) + "; version 2 is read";
  if (Word(bytes, 8) != bytes.size())
    return "the GLB header says " + std::to_string(Word(bytes, 8)) + " bytes, the file holds " +
           std::to_string(bytes.size());
  size_t at = 12;
  for (int chunk = 0; at + 8 <= bytes.size(); ++chunk) {
    const size_t length = Word(bytes, at), type = Word(bytes, at + 4);
    if (length > bytes.size() - at - 8) return "a GLB chunk runs past the end of the file";
    if (chunk == 0 && type != kJsonChunk) return "a GLB whose first chunk is not JSON";
    // Chunks of other types are for extensions this tool does not know.
    if (chunk == 0) *text = bytes.substr(at + 8, length);
    if (chunk == 1 && type == kBinChunk) *bin = bytes.substr(at + 8, length);
    at += 8 + length;
  }
  return at == bytes.size() ? "" : "a GLB chunk cut short";
}

std::string Base64(const std::string& bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
    text += digits[v >> 18 & 63];
    text += digits[v >> 12 & 63];
    text += i + 1 < bytes.size() ? digits[v >> 6 & 63] : '=';
    text += i + 2 < bytes.size() ? digits[v & 63] : '=';
  }
  return text;
}

std::string BinOf(const GltfDocument& doc) {
  std::string bytes = doc.bin;
  bytes.resize(static_cast<size_t>(std::max(0LL, IndexAt(Items(doc.json, "buffers")[0], "byteLength", 0))));
  return bytes;
}

// What keeps a parsed document from being taken as it is; "" when nothing.
std::string ContentProblem(const GltfDocument& doc, int depth) {
  if (depth > kMaxDepth) return "JSON nested more than " + std::to_string(kMaxDepth) + " levels deep";
  if (!FirstBufferIsBin(doc.json)) return "";
  const long long length = IndexAt(Items(doc.json, "buffers")[0], "byteLength", -1);
  if (length >= 0 && static_cast<unsigned long long>(length) <= doc.bin.size()) return "";
  return "buffer 0 is the binary chunk, whose " + std::to_string(doc.bin.size()) + " bytes its byteLength does not fit";
}

}  // namespace

bool ReadGltfDocument(const std::string& path, GltfDocument* doc, std::string* error) {
  doc->path = path;
  std::string bytes;
  if (!ReadFileBytes(path, kMaxGltfBytes, &bytes, error)) return false;
  std::string text, where = Printable(path);
  const bool glb = bytes.size() >= 4 && Word(bytes, 0) == kGlbMagic;
  if (glb) {
    const std::string problem = SplitGlb(bytes, &text, &doc->bin);
    if (!problem.empty()) {
      *error = where + ": " + problem;
      return false;
    }
  } else {
    text.swap(bytes);
  }
  int deepest = 0;
  try {
    doc->json = Json::parse(text, [&deepest](int depth, Json::parse_event_t, Json&) {
      deepest = std::max(deepest, depth);
      return true;
    });
  } catch (const Json::parse_error& e) {
    const std::string line = std::to_string(LineAt(text, e.byte ? e.byte - 1 : 0));
    *error = where + (glb ? ": line " + line + " of its JSON chunk" : ":" + line) +
             ": not glTF's JSON: " + ParseFault(e.what());
    return false;
  }
  const Json& json = doc->json;
  const std::string problem = ContentProblem(*doc, deepest);
  if (!problem.empty()) {
    *error = where + ": " + problem;
    return false;
  }
  const bool versioned = json.is_object() && json.contains("asset") && json["asset"].is_object() &&
                         json["asset"].contains("version") && json["asset"]["version"].is_string();
  if (versioned && json["asset"]["version"].get<std::string>().rfind("2.", 0) == 0) return true;
  *error =
      where + ": no glTF 2.0 (its asset.version is " + (versioned ? json["asset"]["version"].dump() : "missing") + ")";
  return false;
}

const Json& Items(const Json& json, const char* key) {
  static const Json none = Json::array();
  if (!json.is_object()) return none;
  const auto it = json.find(key);
  return it != json.end() && it->is_array() ? *it : none;
}

std::string DataUri(const std::string& bytes) { return "data:application/octet-stream;base64," + Base64(bytes); }

bool FirstBufferIsBin(const Json& json) {
  const Json& buffers = Items(json, "buffers");
  return !buffers.empty() && buffers[0].is_object() && !buffers[0].contains("uri");
}

long long IndexAt(const Json& json, const char* key, long long fallback) {
  if (!json.is_object()) return fallback;
  const auto it = json.find(key);
  return it != json.end() && it->is_number_integer() ? it->get<long long>() : fallback;
}

bool WriteGltfDocument(GltfDocument& doc, bool binary, std::ostream& out) {
  const bool bin = FirstBufferIsBin(doc.json);
  if (!binary) {
    if (bin) doc.json["buffers"][0]["uri"] = DataUri(BinOf(doc));
    // A name made of a file name may hold bytes that are no UTF-8.
    out << doc.json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
    return true;
  }
  std::string text = doc.json.dump(-1, ' ', false, Json::error_handler_t::replace);
  text.resize(Align4(text.size()), ' ');
  const size_t binLength =
      bin ? Align4(static_cast<size_t>(std::max(0LL, IndexAt(doc.json["buffers"][0], "byteLength", 0)))) : 0;
  const size_t total = 12 + 8 + text.size() + (bin ? 8 + binLength : 0);
  if (total > UINT32_MAX) return false;
  PutWord(out, kGlbMagic);
  PutWord(out, 2);
  PutWord(out, static_cast<uint32_t>(total));
  PutWord(out, static_cast<uint32_t>(text.size()));
  PutWord(out, kJsonChunk);
  out << text;
  if (bin) {
    PutWord(out, static_cast<uint32_t>(binLength));
    PutWord(out, kBinChunk);
    const size_t kept = std::min(doc.bin.size(), binLength);
    out.write(doc.bin.data(), static_cast<std::streamsize>(kept));
    out << std::string(binLength - kept, '\0');
  }
  return true;
}

}  // namespace cli

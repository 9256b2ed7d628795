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

size_t Align4(size_t n) { return (n + 3) & ~size_t(3); }

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

std::string DataUri(const std::string& bytes) { return "data:application/octet-stream;base64," + Base64(bytes); }

// The buffer 0 that GLB's binary chunk holds: one without a URI.
bool FirstBufferIsBin(const Json& json) {
  const Json& buffers = Items(json, "buffers");
  return !buffers.empty() && buffers[0].is_object() && !buffers[0].contains("uri");
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

// Every view an accessor or an image reads, outside the accessors from first on.
std::set<long long> ViewsUsed(const Json& json, size_t firstAccessor) {
  std::set<long long> views;
  const Json& accessors = Items(json, "accessors");
  for (size_t i = 0; i < accessors.size() && i < firstAccessor; ++i) {
    views.insert(IndexAt(accessors[i], "bufferView"));
    if (accessors[i].contains("sparse") && accessors[i]["sparse"].is_object()) {
      const Json& sparse = accessors[i]["sparse"];
      if (sparse.contains("indices")) views.insert(IndexAt(sparse["indices"], "bufferView"));
      if (sparse.contains("values")) views.insert(IndexAt(sparse["values"], "bufferView"));
    }
  }
  for (const Json& image : Items(json, "images")) views.insert(IndexAt(image, "bufferView"));
  return views;
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

long long IndexAt(const Json& json, const char* key, long long fallback) {
  if (!json.is_object()) return fallback;
  const auto it = json.find(key);
  return it != json.end() && it->is_number_integer() ? it->get<long long>() : fallback;
}

GltfAppender::GltfAppender(GltfDocument& d, bool binaryOutput) : doc(d) {
  // Made now, so that adding data never adds a member (and moves the others).
  for (const char* list : {"buffers", "bufferViews", "accessors"})
    if (!doc.json[list].is_array()) doc.json[list] = Json::array();
  Json& buffers = doc.json["buffers"];
  intoBin = binaryOutput && (buffers.empty() || FirstBufferIsBin(doc.json));
  if (intoBin && buffers.empty()) buffers.push_back({{"byteLength", 0}});
  buffer = intoBin ? 0 : static_cast<long long>(buffers.size());
  // Each new element is 4 bytes, so an aligned start keeps every view aligned.
  start = intoBin ? Align4(static_cast<size_t>(std::max(0LL, IndexAt(buffers[0], "byteLength", 0)))) : 0;
  if (!intoBin) buffers.push_back({{"byteLength", 0}});
}

int GltfAppender::AddFloats(const std::vector<float>& values, int components, bool bounded) {
  Json& views = doc.json["bufferViews"];
  const size_t length = values.size() * sizeof(float);
  views.push_back({{"buffer", buffer}, {"byteOffset", start + bytes.size()}, {"byteLength", length}});
  bytes.append(reinterpret_cast<const char*>(values.data()), length);
  Json accessor = {{"bufferView", views.size() - 1},
                   {"componentType", 5126},
                   {"count", values.size() / static_cast<size_t>(components)},
                   {"type", components == 4   ? "VEC4"
                            : components == 3 ? "VEC3"
                                              : "SCALAR"}};
  if (bounded && !values.empty()) {
    Json lo = Json::array(), hi = Json::array();
    for (int c = 0; c < components; ++c) {
      float a = values[static_cast<size_t>(c)], b = a;
      for (size_t i = static_cast<size_t>(c); i < values.size(); i += static_cast<size_t>(components))
        a = std::min(a, values[i]), b = std::max(b, values[i]);
      lo.push_back(a);
      hi.push_back(b);
    }
    accessor["min"] = lo;
    accessor["max"] = hi;
  }
  Json& accessors = doc.json["accessors"];
  accessors.push_back(accessor);
  return static_cast<int>(accessors.size()) - 1;
}

void GltfAppender::Finish() {
  Json& target = doc.json["buffers"][static_cast<size_t>(buffer)];
  target["byteLength"] = start + bytes.size();
  if (intoBin) {
    doc.bin.resize(start);
    doc.bin += bytes;
  } else {
    target["uri"] = DataUri(bytes);
  }
}

bool DropTrailingData(GltfDocument& doc, const std::set<long long>& accessors) {
  Json& json = doc.json;
  if (Items(json, "buffers").empty()) return false;
  const size_t count = Items(json, "accessors").size();
  if (accessors.empty() || accessors.size() > count) return false;
  const size_t first = count - accessors.size();
  if (*accessors.begin() != static_cast<long long>(first) || *accessors.rbegin() != static_cast<long long>(count) - 1)
    return false;
  std::set<long long> views;
  for (size_t i = first; i < count; ++i) views.insert(IndexAt(json["accessors"][i], "bufferView"));
  const size_t viewCount = Items(json, "bufferViews").size(), firstView = viewCount - views.size();
  if (*views.begin() != static_cast<long long>(firstView) || *views.rbegin() != static_cast<long long>(viewCount) - 1)
    return false;
  const std::set<long long> others = ViewsUsed(json, first);
  if (others.lower_bound(static_cast<long long>(firstView)) != others.end()) return false;
  // Where the bytes lie: one buffer, at its end.
  const Json& viewList = json["bufferViews"];
  const long long buffer = IndexAt(viewList[firstView], "buffer");
  long long begin = -1, end = 0, othersEnd = 0;
  for (size_t v = 0; v < viewCount; ++v) {
    if (IndexAt(viewList[v], "buffer") != buffer) continue;
    const long long a = IndexAt(viewList[v], "byteOffset", 0), b = a + IndexAt(viewList[v], "byteLength", 0);
    if (v < firstView)
      othersEnd = std::max(othersEnd, b);
    else
      begin = begin < 0 ? a : std::min(begin, a), end = std::max(end, b);
  }
  for (size_t v = firstView; v < viewCount; ++v)
    if (IndexAt(viewList[v], "buffer") != buffer) return false;
  Json& buffers = json["buffers"];
  const bool last = buffer == static_cast<long long>(buffers.size()) - 1;
  const bool alone = last && othersEnd == 0 && begin == 0;
  const bool binTail =
      buffer == 0 && FirstBufferIsBin(json) && othersEnd <= begin && end == IndexAt(buffers[0], "byteLength", 0);
  if (!alone && !binTail) return false;
  if (alone) {
    buffers.erase(buffers.size() - 1);
    if (buffer == 0) doc.bin.clear();
  } else {
    buffers[0]["byteLength"] = begin;
    doc.bin.resize(static_cast<size_t>(begin));
  }
  Json& accessorList = json["accessors"];
  while (accessorList.size() > first) accessorList.erase(accessorList.size() - 1);
  Json& viewsToCut = json["bufferViews"];
  while (viewsToCut.size() > firstView) viewsToCut.erase(viewsToCut.size() - 1);
  return true;
}

long long TakeOwnAnimation(GltfDocument& doc, const std::string& name, const char* what, std::ostream& err) {
  const Json& animations = Items(doc.json, "animations");
  for (size_t i = 0; i < animations.size(); ++i) {
    const Json& animation = animations[i];
    const bool ours = animation.is_object() && animation.value("name", Json()) == name &&
                      animation.contains("extras") && animation["extras"].is_object() &&
                      animation["extras"].value("mirova", Json()) == what;
    if (!ours) continue;
    std::set<long long> accessors;
    for (const Json& sampler : Items(animation, "samplers"))
      accessors.insert({IndexAt(sampler, "input"), IndexAt(sampler, "output")});
    if (!DropTrailingData(doc, accessors))
      err << "mirova: " << Printable(doc.path) << ": the data of the animation \"" << Printable(name)
          << "\" it replaces do not lie last in the file, so they stay in it, unused\n";
    return static_cast<long long>(i);
  }
  return -1;
}

void PutOwnAnimation(GltfDocument& doc, long long index, const char* what, Json animation) {
  animation["extras"] = {{"mirova", what}};
  Json& animations = doc.json["animations"];
  if (!animations.is_array()) animations = Json::array();
  if (index >= 0)
    animations[static_cast<size_t>(index)] = std::move(animation);
  else
    animations.push_back(std::move(animation));
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

#include "gltf_edit.h"

#include <algorithm>

#include "file_names.h"

namespace cli {

namespace {

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

// Removes accessors (the document's last ones, used by what is being
// replaced), their views and their bytes, when nothing else uses the views
// and the bytes are the last of their buffer; false, with nothing removed,
// otherwise.
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

}  // namespace

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

}  // namespace cli

// Reading a scene file into records (the format is described in
// headless_scene.h); nothing of the scene is touched here.
#include "scene_file_read.h"

#include <set>
#include <sstream>
#include <utility>

#include "scene_file_check.h"
#include "scene_file_tokens.h"

namespace headless::detail {

namespace {

class Reader {
 public:
  Reader(const std::string& text, std::string& error) : error(error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back({number, line});
    }
  }
  bool Read(SceneRecords& scene);

 private:
  // The next line that is not blank or a comment, split; false at the end.
  bool Next();
  bool Fail(const std::string& what);
  bool Floats(size_t from, size_t count, std::vector<float>& values);
  bool ReadRecord(Record& record);
  bool ReadBodyLine(Record& record);
  bool ReadChunkLine(Chunk& chunk, bool& nested);
  bool ReadChunk(std::vector<Chunk>& chunks);
  bool ReadNodeLine(Record& record);
  bool ReadControlLine(Record& record);
  bool ReadParamLine(Record& record);
  bool Check(const SceneRecords& scene);

  std::vector<std::pair<int, std::string>> lines;
  size_t nextLine = 0;
  int lineNumber = 0;
  std::vector<std::string> tokens;
  std::string& error;
};

bool Reader::Next() {
  while (nextLine < lines.size()) {
    const auto& line = lines[nextLine++];
    lineNumber = line.first;
    if (!Tokenize(line.second, tokens)) return Fail("unterminated name");
    if (!tokens.empty() && (tokens[0].empty() || tokens[0][0] != '#')) return true;
  }
  tokens.clear();
  return false;
}

bool Reader::Fail(const std::string& what) {
  if (error.empty()) error = "line " + std::to_string(lineNumber) + ": " + what;
  return false;
}

bool Reader::Floats(size_t from, size_t count, std::vector<float>& values) {
  if (tokens.size() != from + count) return Fail("expected " + std::to_string(count) + " numbers");
  values.assign(count, 0.0f);
  for (size_t i = 0; i < count; ++i)
    if (!ToFloat(tokens[from + i], values[i])) return Fail("bad number " + tokens[from + i]);
  return true;
}

bool Reader::ReadChunkLine(Chunk& chunk, bool& nested) {
  ULONG id = 0;
  nested = tokens.size() == 4 && tokens[3] == "{";
  if ((tokens.size() != 3 && !nested) || !ToHexId(tokens[1], id) || id > 0xffff ||
      !FromHex(tokens[2], chunk.data))
    return Fail("bad chunk");
  chunk.id = static_cast<USHORT>(id);
  return true;
}

bool Reader::ReadChunk(std::vector<Chunk>& chunks) {
  // Chunks whose "}" is still to come, held here rather than on the call
  // stack, so that no nesting in a file can exhaust the program's.
  std::vector<Chunk> open;
  for (;;) {
    Chunk chunk;
    bool nested = false;
    if (!open.empty() && tokens.size() == 1 && tokens[0] == "}") {
      chunk = std::move(open.back());
      open.pop_back();
    } else if (!open.empty() && tokens[0] != "chunk") {
      return Fail("expected a chunk");
    } else if (!ReadChunkLine(chunk, nested)) {
      return false;
    }
    if (nested && open.size() >= kMaxChunkDepth)
      return Fail("chunks nest more than " + std::to_string(kMaxChunkDepth) + " deep");
    if (nested)
      open.push_back(std::move(chunk));
    else
      (open.empty() ? chunks : open.back().children).push_back(std::move(chunk));
    if (open.empty()) return true;
    if (!Next()) return Fail("chunk without }");
  }
}

bool Reader::ReadNodeLine(Record& record) {
  std::vector<float> v;
  const std::string& key = tokens[0];
  if (key == "offset-pos") {
    if (!Floats(1, 3, v)) return false;
    record.offsetPos = Point3(v[0], v[1], v[2]);
  } else if (key == "offset-rot") {
    if (!Floats(1, 4, v)) return false;
    record.offsetRot = Quat(v[0], v[1], v[2], v[3]);
  } else if (key == "offset-scale") {
    if (!Floats(1, 7, v)) return false;
    record.offsetScale = ScaleValue(Point3(v[0], v[1], v[2]), Quat(v[3], v[4], v[5], v[6]));
  } else if (key == "selected" && tokens.size() == 2 && (tokens[1] == "0" || tokens[1] == "1")) {
    record.selected = tokens[1] == "1";
  } else {
    return Fail("unexpected " + key + " in a node");
  }
  return true;
}

bool Reader::ReadControlLine(Record& record) {
  size_t size = static_cast<size_t>(ValueSize(KindOfController(record.superID)));
  if (tokens[0] == "value" && size > 0) {
    record.hasValue = true;
    return Floats(1, size, record.value);
  }
  if (tokens[0] == "key" && size > 0 && tokens.size() >= 2) {
    KeyRecord key;
    if (!ToInt(tokens[1], key.t)) return Fail("bad key time");
    if (!Floats(2, size, key.value)) return false;
    record.keys.push_back(key);
    return true;
  }
  return Fail("unexpected " + tokens[0] + " in a controller");
}

bool Reader::ReadParamLine(Record& record) {
  // param I float id D animatable 0|1 value X
  ParamRecord param;
  int id = 0;
  if (tokens[0] != "param" || tokens.size() != 9 || tokens[2] != "float" || tokens[3] != "id" ||
      tokens[5] != "animatable" || tokens[7] != "value")
    return Fail("bad parameter");
  if (!ToInt(tokens[1], param.index) || !ToInt(tokens[4], id) || id < 0 ||
      (tokens[6] != "0" && tokens[6] != "1") || !ToFloat(tokens[8], param.value))
    return Fail("bad parameter");
  if (param.index != static_cast<int>(record.params.size())) return Fail("parameters out of order");
  param.id = static_cast<DWORD>(id);
  param.animatable = tokens[6] == "1";
  record.params.push_back(param);
  return true;
}

bool Reader::ReadBodyLine(Record& record) {
  if (tokens[0] == "ref") {
    int index = 0, target = 0;
    if (tokens.size() != 3 || !ToInt(tokens[1], index) || !ToInt(tokens[2], target) || index < 0)
      return Fail("bad reference");
    for (const auto& ref : record.refs)
      if (ref.first == index) return Fail("reference " + tokens[1] + " given twice");
    record.refs.emplace_back(index, target);
    return true;
  }
  switch (record.kind) {
    case RecordKind::Node: return ReadNodeLine(record);
    case RecordKind::Control: return ReadControlLine(record);
    case RecordKind::ParamBlock: return ReadParamLine(record);
    case RecordKind::Object:
      if (tokens[0] == "chunk") return ReadChunk(record.chunks);
      return Fail("unexpected " + tokens[0] + " in an object");
  }
  return false;
}

bool Reader::ReadRecord(Record& record) {
  const std::string& kind = tokens[0];
  record.line = lineNumber;
  if (tokens.size() < 2 || !ToInt(tokens[1], record.id) || record.id <= 0) return Fail("bad record number");
  ULONG superID = 0, a = 0, b = 0;
  if (kind == "node" && tokens.size() == 3) {
    record.kind = RecordKind::Node;
    record.name = tokens[2];
  } else if (kind == "paramblock" && tokens.size() == 4 && tokens[2] == "version") {
    int version = 0;
    if (!ToInt(tokens[3], version) || version < 0) return Fail("bad version");
    record.kind = RecordKind::ParamBlock;
    record.version = static_cast<DWORD>(version);
  } else if ((kind == "control" || kind == "object") && tokens.size() == 5 && ToHexId(tokens[2], superID) &&
             ToHexId(tokens[3], a) && ToHexId(tokens[4], b)) {
    record.kind = kind == "control" ? RecordKind::Control : RecordKind::Object;
    record.superID = superID;
    record.classID = Class_ID(a, b);
    if (kind == "control" && KindOfController(superID) == ValueKind::NotAController)
      return Fail("not a controller class");
  } else {
    return Fail("bad " + kind + " record");
  }
  for (;;) {
    if (!Next()) return Fail("record without end");
    if (tokens.size() == 1 && tokens[0] == "end") return true;
    if (!ReadBodyLine(record)) return false;
  }
}

// References point at records of the file that are not nodes, and chain
// as the host's files do; what each may hold is checked once the records
// are made.
bool Reader::Check(const SceneRecords& scene) {
  std::map<int, RecordKind> kinds;
  for (const Record& r : scene.records)
    if (!kinds.emplace(r.id, r.kind).second) return Fail("record " + std::to_string(r.id) + " given twice");
  for (const Record& r : scene.records) {
    lineNumber = r.line;
    for (const auto& ref : r.refs) {
      auto it = kinds.find(ref.second);
      if (it == kinds.end()) return Fail("reference to a missing record " + std::to_string(ref.second));
      if (it->second == RecordKind::Node) return Fail("a reference to a node is not supported");
    }
  }
  return CheckReferenceGraph(scene.records, error);
}

bool Reader::Read(SceneRecords& scene) {
  if (!Next() || tokens.size() != 2 || tokens[0] != "mirova-scene") return Fail("not a scene file");
  if (tokens[1] != "1") return Fail("scene file version " + tokens[1] + " is not known");
  while (Next()) {
    const std::string& key = tokens[0];
    if (key == "frame-rate" && tokens.size() == 2) {
      if (!ToInt(tokens[1], scene.frameRate) || scene.frameRate <= 0) return Fail("bad frame rate");
      // The host counts time in whole ticks, at least one a frame.
      if (scene.frameRate > TIME_TICKSPERSEC)
        return Fail("a frame rate of " + tokens[1] + " is more than the host's 4800 ticks a second");
    } else if (key == "time" && tokens.size() == 2) {
      if (!ToInt(tokens[1], scene.time)) return Fail("bad time");
    } else if (key == "node" || key == "control" || key == "paramblock" || key == "object") {
      scene.records.emplace_back();
      if (!ReadRecord(scene.records.back())) return false;
    } else {
      return Fail("unexpected " + key);
    }
  }
  return error.empty() && Check(scene);
}

}  // namespace

bool ReadSceneRecords(const std::string& text, SceneRecords& scene, std::string& error) {
  error.clear();
  return Reader(text, error).Read(scene);
}

}  // namespace headless::detail

// Writing the headless host's scene file (the format is described in
// headless_scene.h).
#include <headless_host.h>
#include <headless_scene.h>
#include <inode.h>
#include <iparamb.h>
#include <object.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "scene_chunks.h"
#include "scene_format.h"

namespace headless::detail {

std::string FormatFloat(float v) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(v));
  return text;
}

std::string Quote(const std::string& s) {
  std::string text = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') text += '\\';
    if (c == '\n') {
      text += "\\n";
      continue;
    }
    text += c;
  }
  return text + "\"";
}

ValueKind KindOfController(SClass_ID superID) {
  switch (superID) {
    case CTRL_FLOAT_CLASS_ID: return ValueKind::Float;
    case CTRL_POSITION_CLASS_ID: return ValueKind::Position;
    case CTRL_ROTATION_CLASS_ID: return ValueKind::Rotation;
    case CTRL_SCALE_CLASS_ID: return ValueKind::Scale;
    case CTRL_MATRIX3_CLASS_ID: return ValueKind::None;
    default: return ValueKind::NotAController;
  }
}

}  // namespace headless::detail

namespace {

using namespace headless::detail;

std::string Floats(std::initializer_list<float> values) {
  std::string text;
  for (float v : values) text += " " + FormatFloat(v);
  return text;
}

std::string Hex(ULONG v) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%x", static_cast<unsigned>(v));
  return text;
}

// The value of a controller at t, as the record writes it.
std::string ValueText(Control* c, ValueKind kind, TimeValue t) {
  Interval ignored = FOREVER;
  switch (kind) {
    case ValueKind::Float: {
      float v = 0.0f;
      c->GetValue(t, &v, ignored, CTRL_ABSOLUTE);
      return Floats({v});
    }
    case ValueKind::Position: {
      Point3 p;
      c->GetValue(t, &p, ignored, CTRL_ABSOLUTE);
      return Floats({p.x, p.y, p.z});
    }
    case ValueKind::Rotation: {
      Quat q;
      c->GetValue(t, &q, ignored, CTRL_ABSOLUTE);
      return Floats({q.x, q.y, q.z, q.w});
    }
    case ValueKind::Scale: {
      ScaleValue s;
      c->GetValue(t, &s, ignored, CTRL_ABSOLUTE);
      return Floats({s.s.x, s.s.y, s.s.z, s.q.x, s.q.y, s.q.z, s.q.w});
    }
    default: return "";
  }
}

class SceneWriter {
 public:
  explicit SceneWriter(headless::Host& host) : host(host) {}
  std::string Text();

 private:
  void Visit(ReferenceTarget* target);
  void WriteRefs(ReferenceTarget* maker);
  void WriteNode(INode* node);
  void WriteControl(Control* c);
  void WriteParamBlock(IParamBlock* block);
  void WriteObject(ReferenceTarget* target);
  void WriteChunks(const std::vector<Chunk>& chunks, const std::string& indent);

  headless::Host& host;
  std::map<ReferenceTarget*, int> ids;
  std::vector<ReferenceTarget*> order;
  std::ostringstream out;
};

void SceneWriter::Visit(ReferenceTarget* target) {
  if (!target || ids.count(target)) return;
  ids[target] = static_cast<int>(order.size()) + 1;
  order.push_back(target);
  for (int i = 0; i < target->NumRefs(); ++i) Visit(target->GetReference(i));
}

void SceneWriter::WriteRefs(ReferenceTarget* maker) {
  for (int i = 0; i < maker->NumRefs(); ++i)
    if (ReferenceTarget* target = maker->GetReference(i)) out << "  ref " << i << " " << ids[target] << "\n";
}

void SceneWriter::WriteNode(INode* node) {
  Point3 p = node->GetObjOffsetPos();
  Quat q = node->GetObjOffsetRot();
  ScaleValue s = node->GetObjOffsetScale();
  out << "node " << ids[node] << " " << Quote(node->GetName()) << "\n";
  out << "  offset-pos" << Floats({p.x, p.y, p.z}) << "\n";
  out << "  offset-rot" << Floats({q.x, q.y, q.z, q.w}) << "\n";
  out << "  offset-scale" << Floats({s.s.x, s.s.y, s.s.z, s.q.x, s.q.y, s.q.z, s.q.w}) << "\n";
  out << "  selected " << (node->Selected() ? 1 : 0) << "\n";
  WriteRefs(node);
  out << "end\n";
}

void SceneWriter::WriteControl(Control* c) {
  ValueKind kind = KindOfController(c->SuperClassID());
  out << "control " << ids[c] << " " << Hex(c->SuperClassID()) << " " << Hex(c->ClassID().PartA()) << " "
      << Hex(c->ClassID().PartB()) << "\n";
  if (kind != ValueKind::None) {
    // A keyed track's value is its keys'; a constant one's is the same at any time.
    if (c->NumKeys() == 0) out << "  value" << ValueText(c, kind, 0) << "\n";
    for (int k = 0; k < c->NumKeys(); ++k)
      out << "  key " << c->GetKeyTime(k) << ValueText(c, kind, c->GetKeyTime(k)) << "\n";
  }
  WriteRefs(c);
  out << "end\n";
}

void SceneWriter::WriteParamBlock(IParamBlock* block) {
  out << "paramblock " << ids[block] << " version " << block->GetVersion() << "\n";
  for (int i = 0; i < block->NumParams(); ++i) {
    const ParamBlockDescID& d = block->GetDesc(i);
    out << "  param " << i << " float id " << d.id << " animatable " << (d.animatable ? 1 : 0) << " value"
        << Floats({block->GetConstant(i)}) << "\n";
  }
  WriteRefs(block);
  out << "end\n";
}

void SceneWriter::WriteChunks(const std::vector<Chunk>& chunks, const std::string& indent) {
  for (const Chunk& chunk : chunks) {
    out << indent << "chunk " << Hex(chunk.id) << " " << ToHex(chunk.data);
    if (chunk.children.empty()) {
      out << "\n";
      continue;
    }
    out << " {\n";
    WriteChunks(chunk.children, indent + "  ");
    out << indent << "}\n";
  }
}

void SceneWriter::WriteObject(ReferenceTarget* target) {
  out << "object " << ids[target] << " " << Hex(target->SuperClassID()) << " "
      << Hex(target->ClassID().PartA()) << " " << Hex(target->ClassID().PartB()) << "\n";
  WriteRefs(target);
  ChunkWriter writer;
  std::vector<Chunk> chunks;
  target->Save(&writer);
  // Whatever a faulty Save left open is still written as far as it went.
  writer.Finish(chunks);
  WriteChunks(chunks, "  ");
  out << "end\n";
}

std::string SceneWriter::Text() {
  for (INode* node : host.Nodes()) Visit(node);
  out << "mirova-scene 1\n";
  out << "frame-rate " << host.FrameRate() << "\n";
  out << "time " << host.GetTime() << "\n";
  for (ReferenceTarget* target : order) {
    SClass_ID superID = target->SuperClassID();
    if (superID == BASENODE_CLASS_ID)
      WriteNode(static_cast<INode*>(target));
    else if (KindOfController(superID) != ValueKind::NotAController)
      WriteControl(static_cast<Control*>(target));
    else if (superID == PARAMETER_BLOCK_CLASS_ID)
      WriteParamBlock(static_cast<IParamBlock*>(target));
    else
      WriteObject(target);
  }
  return out.str();
}

}  // namespace

namespace headless {

std::string SceneText(Host& host) { return SceneWriter(host).Text(); }

bool SaveScene(Host& host, const std::string& path, std::string* error) {
  std::ofstream file(path, std::ios::binary);
  if (file) file << SceneText(host);
  if (file.good()) return true;
  if (error) *error = "cannot write " + path;
  return false;
}

}  // namespace headless

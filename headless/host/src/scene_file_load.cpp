// Rebuilding the headless host's scene from a scene file.
#include <classdir.h>
#include <headless_host.h>
#include <headless_scene.h>
#include <inode.h>
#include <iparamb.h>
#include <object.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "scene_file_check.h"
#include "scene_file_read.h"

namespace {

using namespace headless::detail;

// Holds every target made while loading, so that none is deleted before
// the scene is complete; what nothing else references dies with it.
class Keeper : public ReferenceMaker {
 public:
  ~Keeper() override { DeleteAllRefsFromMe(); }
  void Hold(ReferenceTarget* target) {
    refs.push_back(nullptr);
    MakeRefByID(FOREVER, NumRefs() - 1, target);
  }
  int NumRefs() override { return static_cast<int>(refs.size()); }
  RefTargetHandle GetReference(int i) override { return refs[static_cast<size_t>(i)]; }
  void SetReference(int i, RefTargetHandle target) override { refs[static_cast<size_t>(i)] = target; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }

 private:
  std::vector<RefTargetHandle> refs;
};

// Sets a controller's value (or keys) without leaving the user's animate
// mode changed.
template <typename T>
void SetControlValue(Control* c, TimeValue t, T value, bool key) {
  SuspendAnimate();
  if (key) AnimateOn();
  c->SetValue(t, &value, 1, CTRL_ABSOLUTE);
  ResumeAnimate();
}

void SetControlValue(Control* c, ValueKind kind, TimeValue t, const std::vector<float>& v, bool key) {
  switch (kind) {
    case ValueKind::Float: SetControlValue(c, t, v[0], key); break;
    case ValueKind::Position: SetControlValue(c, t, Point3(v[0], v[1], v[2]), key); break;
    case ValueKind::Rotation: SetControlValue(c, t, Quat(v[0], v[1], v[2], v[3]), key); break;
    case ValueKind::Scale:
      SetControlValue(c, t, ScaleValue(Point3(v[0], v[1], v[2]), Quat(v[3], v[4], v[5], v[6])), key);
      break;
    default: break;
  }
}

class SceneBuilder {
 public:
  SceneBuilder(headless::Host& host, const SceneRecords& scene, std::string& error)
      : host(host), scene(scene), error(error) {}
  bool Build();

 private:
  bool Fail(const Record& r, const std::string& what) {
    error = "line " + std::to_string(r.line) + ": " + what;
    return false;
  }
  ReferenceTarget* Make(const Record& r);
  Control* MakeControl(const Record& r);
  IParamBlock* MakeParamBlock(const Record& r);
  // Every reference of every record against what its maker accepts.
  bool CheckReferences();
  void Wire(const Record& r);
  bool LoadObject(const Record& r);
  void ReplaceNodes();
  void RunPostLoadCallbacks();

  headless::Host& host;
  const SceneRecords& scene;
  std::string& error;
  Keeper keeper;
  std::map<int, ReferenceTarget*> made;
  std::vector<std::unique_ptr<PostLoadCallback>> callbacks;
};

Control* SceneBuilder::MakeControl(const Record& r) {
  Control* c = NewControllerOfClass(r.classID);
  if (!c) return nullptr;
  if (c->SuperClassID() != r.superID) {
    c->DeleteThis();
    return nullptr;
  }
  ValueKind kind = KindOfController(r.superID);
  if (r.hasValue) SetControlValue(c, kind, 0, r.value, false);
  for (const KeyRecord& key : r.keys) SetControlValue(c, kind, key.t, key.value, true);
  return c;
}

IParamBlock* SceneBuilder::MakeParamBlock(const Record& r) {
  std::vector<ParamBlockDescID> desc;
  for (const ParamRecord& p : r.params) desc.push_back({TYPE_FLOAT, nullptr, p.animatable, p.id});
  IParamBlock* block = CreateParameterBlock(desc.data(), static_cast<int>(desc.size()), r.version);
  SuspendAnimate();
  for (const ParamRecord& p : r.params) block->SetValue(p.index, 0, p.value);
  ResumeAnimate();
  return block;
}

ReferenceTarget* SceneBuilder::Make(const Record& r) {
  switch (r.kind) {
    case RecordKind::Control: return MakeControl(r);
    case RecordKind::ParamBlock: return MakeParamBlock(r);
    case RecordKind::Object: {
      ClassDesc* cd = FindClassDesc(r.superID, r.classID);
      return cd ? static_cast<ReferenceTarget*>(cd->Create(TRUE)) : nullptr;
    }
    case RecordKind::Node: break;
  }
  return nullptr;
}

bool SceneBuilder::CheckReferences() {
  for (const Record& r : scene.records) {
    ReferenceTarget* maker = r.kind == RecordKind::Node ? nullptr : made[r.id];
    for (const auto& ref : r.refs) {
      if (maker && ref.first >= maker->NumRefs()) return Fail(r, "no reference " + std::to_string(ref.first));
      if (AcceptsReference(r, maker, ref.first, made[ref.second])) continue;
      if (!maker) return Fail(r, "a node references a transform controller (0) and an object (1)");
      return Fail(r, "reference " + std::to_string(ref.first) + " cannot hold record " + std::to_string(ref.second));
    }
  }
  return true;
}

void SceneBuilder::Wire(const Record& r) {
  ReferenceTarget* maker = made[r.id];
  for (const auto& ref : r.refs) maker->MakeRefByID(FOREVER, ref.first, made[ref.second]);
}

bool SceneBuilder::LoadObject(const Record& r) {
  ChunkReader reader(r.chunks, callbacks);
  if (made[r.id]->Load(&reader) != IO_OK) return Fail(r, "the object's data does not load");
  return true;
}

void SceneBuilder::ReplaceNodes() {
  host.ClearSelection();
  while (!host.Nodes().empty()) host.DeleteNode(host.Nodes().back(), FALSE);
  host.SetFrameRate(scene.frameRate);
  for (const Record& r : scene.records) {
    if (r.kind != RecordKind::Node) continue;
    INode* node = host.CreateNode(nullptr, r.name.c_str());
    for (const auto& ref : r.refs) {
      if (ref.first == 0) node->SetTMController(static_cast<Control*>(made[ref.second]));
      if (ref.first == 1) node->SetObjectRef(static_cast<Object*>(made[ref.second]));
    }
    node->SetObjOffsetPos(r.offsetPos);
    node->SetObjOffsetRot(r.offsetRot);
    node->SetObjOffsetScale(r.offsetScale);
    if (r.selected) host.Select(node, true);
  }
  host.SetTime(scene.time);
}

void SceneBuilder::RunPostLoadCallbacks() {
  std::stable_sort(callbacks.begin(), callbacks.end(),
                   [](const std::unique_ptr<PostLoadCallback>& a, const std::unique_ptr<PostLoadCallback>& b) {
                     return a->Priority() < b->Priority();
                   });
  static const std::vector<Chunk> noChunks;
  ChunkReader none(noChunks, callbacks);
  // A callback may register another; it runs too.
  for (size_t i = 0; i < callbacks.size(); ++i) callbacks[i]->proc(&none);
}

bool SceneBuilder::Build() {
  for (const Record& r : scene.records) {
    if (r.kind == RecordKind::Node) continue;
    ReferenceTarget* target = Make(r);
    if (!target) return Fail(r, "no class to make this record");
    keeper.Hold(target);
    made[r.id] = target;
  }
  if (!CheckReferences()) return false;
  for (const Record& r : scene.records)
    if (r.kind != RecordKind::Node) Wire(r);
  for (const Record& r : scene.records)
    if (r.kind == RecordKind::Object && !LoadObject(r)) return false;
  ReplaceNodes();
  RunPostLoadCallbacks();
  return true;
}

}  // namespace

namespace headless {

bool LoadSceneText(Host& host, const std::string& text, std::string* error) {
  std::string problem;
  SceneRecords scene;
  bool ok = ReadSceneRecords(text, scene, problem) && SceneBuilder(host, scene, problem).Build();
  if (!ok && error) *error = problem;
  return ok;
}

bool LoadScene(Host& host, const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return LoadSceneText(host, text.str(), error);
}

}  // namespace headless

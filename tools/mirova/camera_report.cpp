#include "camera_report.h"

#include <standard_objects.h>

#include <vector>

#include "chan.h"
#include "gltf_camera.h"
#include "interchange.h"
#include "json.h"

namespace cli {

namespace {

int KeyCount(INode* camera) { return camera->GetTMController()->GetPositionController()->NumKeys(); }

// The camera at its i-th position key.
CameraKey KeyOf(INode* camera, int i) {
  Control* tm = camera->GetTMController();
  CameraKey key;
  key.ticks = tm->GetPositionController()->GetKeyTime(i);
  Interval valid = FOREVER;
  tm->GetPositionController()->GetValue(key.ticks, &key.position, valid, CTRL_ABSOLUTE);
  tm->GetRotationController()->GetValue(key.ticks, &key.rotation, valid, CTRL_ABSOLUTE);
  return key;
}

Point3 ScaleOf(INode* camera) {
  ScaleValue scale;
  Interval valid = FOREVER;
  camera->GetTMController()->GetScaleController()->GetValue(0, &scale, valid, CTRL_ABSOLUTE);
  return scale.s;
}

void WriteCameraJson(std::ostream& out, INode* camera, const PanelTake& take, const MessageLog& messages) {
  JsonWriter json(out);
  json.BeginObject().Key("file").String(take.name).Key("fps").Int(take.fps).Key("samples").Int(take.samples);
  const int keys = KeyCount(camera);
  json.Key("position").BeginArray();
  for (int i = 0; i < keys; ++i) {
    const CameraKey key = KeyOf(camera, i);
    const Point3& p = key.position;
    json.BeginArray().Int(key.ticks).Float(p.x).Float(p.y).Float(p.z).EndArray();
  }
  json.EndArray().Key("rotation").BeginArray();
  for (int i = 0; i < keys; ++i) {
    const CameraKey key = KeyOf(camera, i);
    const Quat q = RightHanded(key.rotation);
    json.BeginArray().Int(key.ticks).Float(q.x).Float(q.y).Float(q.z).Float(q.w).EndArray();
  }
  const Point3 scale = ScaleOf(camera);
  json.EndArray().Key("scale").BeginArray().Float(scale.x).Float(scale.y).Float(scale.z).EndArray();
  json.Key("messages");
  messages.WriteJson(json);
  json.EndObject();
  out << "\n";
}

}  // namespace

std::vector<CameraKey> CameraKeys(INode* camera) {
  std::vector<CameraKey> keys(static_cast<size_t>(KeyCount(camera)));
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = KeyOf(camera, static_cast<int>(i));
  return keys;
}

float CameraFov(INode* camera) { return static_cast<GenCamera*>(camera->GetObjectRef())->GetFOV(); }

bool WriteCameraReport(INode* camera, const PanelTake& take, const MessageLog& messages, const std::string& format,
                       bool binary, std::ostream& to, std::string* problem) {
  if (format == "chan")
    WriteChan(to, CameraKeys(camera), take.fps, VerticalFov(CameraFov(camera)) * 180.0 / 3.14159265358979323846);
  else if (format == "gltf")
    return WriteCameraGltf(CameraKeys(camera), CameraFov(camera), binary, to, problem);
  else
    WriteCameraJson(to, camera, take, messages);
  return true;
}

}  // namespace cli

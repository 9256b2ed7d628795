// A scene file as records, before anything is built from it (internal to
// the headless stand-in).
#ifndef HEADLESS_SCENE_FILE_READ_H
#define HEADLESS_SCENE_FILE_READ_H
#include <control.h>
#include <quat.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "scene_chunks.h"
#include "scene_format.h"

namespace headless::detail {

enum class RecordKind { Node, Control, ParamBlock, Object };

struct ParamRecord {
  int index = 0;
  DWORD id = 0;
  BOOL animatable = TRUE;
  float value = 0.0f;
};

struct KeyRecord {
  TimeValue t = 0;
  std::vector<float> value;
};

struct Record {
  RecordKind kind = RecordKind::Object;
  int id = 0;
  int line = 0;
  std::vector<std::pair<int, int>> refs;  // reference index, record number
  // node
  std::string name;
  Point3 offsetPos;
  Quat offsetRot;
  ScaleValue offsetScale;
  bool selected = false;
  // control and object
  SClass_ID superID = 0;
  Class_ID classID;
  bool hasValue = false;
  std::vector<float> value;
  std::vector<KeyRecord> keys;
  // paramblock
  DWORD version = 0;
  std::vector<ParamRecord> params;
  // object
  std::vector<Chunk> chunks;
};

struct SceneRecords {
  int frameRate = 30;
  TimeValue time = 0;
  std::vector<Record> records;
};

// Reads and checks text; false with error ("line N: ...") when it is not a
// well-formed scene file.
bool ReadSceneRecords(const std::string& text, SceneRecords& scene, std::string& error);

}  // namespace headless::detail

#endif

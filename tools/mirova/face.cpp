// mirova face: a tracker recording turned into expression keys, as a user
// would do it: the expression object made on a neutral face, the recording
// opened into its tracker input, then "Apply".
#include <headless.h>
#include <headless_host.h>
#include <triobj.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "bundled_face.h"
#include "cli.h"
#include "expression.h"
#include "face_morph.h"
#include "face_targets.h"
#include "gltf_write.h"
#include "inspect_formats.h"
#include "json.h"
#include "messages.h"
#include "obj_file.h"
#include "output_file.h"
#include "plugin.h"
#include "read_fault.h"
#include "resource.h"

namespace cli {

namespace {

const char faceUsage[] =
    "usage: mirova face FILE.trc [--fps N] [--neutral FILE.obj] [--target NAME=FILE.obj ...]\n"
    "                  [--format json|gltf] [-o OUT.json|OUT.glb|OUT.gltf]\n";

struct FaceRequest {
  std::string recording, neutral, output;
  std::string format = "json";
  std::vector<TargetFile> targets;
  int fps = 30;
};

bool ParseFaceOption(const std::string& a, const std::string& value, FaceRequest& request, std::string& problem) {
  if (a == "--fps" && !ParseFps(value, request.fps)) {
    problem = "--fps wants a whole number of frames a second from 1 to 4800";
    return false;
  }
  if (a == "--format" && value != "json" && value != "gltf") {
    problem = "--format wants json or gltf";
    return false;
  }
  if (a == "--target") return ParseTargetOption(value, &request.targets, &problem);
  if (a == "--neutral") request.neutral = value;
  if (a == "-o") request.output = value;
  if (a == "--format") request.format = value;
  return true;
}

bool ParseFaceArgs(const Args& args, FaceRequest& request, std::string& problem) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--fps" || a == "--neutral" || a == "-o" || a == "--format" || a == "--target") {
      if (i + 1 >= args.size()) {
        problem = a + " wants a value";
        return false;
      }
      if (!ParseFaceOption(a, args[++i], request, problem)) return false;
    } else if (request.recording.empty() && a.rfind("-", 0) != 0) {
      request.recording = a;
    } else {
      problem = "unexpected argument " + a;
      return false;
    }
  }
  if (request.recording.empty()) {
    problem = "a tracker recording (FILE.trc) is required";
    return false;
  }
  if (request.format == "gltf" && !IsGltfPath(request.output)) {
    problem = "--format gltf wants -o OUT.glb or OUT.gltf";
    return false;
  }
  return true;
}

// The recording chosen with the Face Tracker rollup's "Open...": read, then
// stabilised against the nose bridge. False when the file cannot be read at
// all (the rollup would only say "Unable to loaded file").
bool OpenRecording(HWND rollup, const std::string& path) {
  FILE* probe = std::fopen(path.c_str(), "rt");
  if (!probe) return false;
  std::fclose(probe);
  headless::AnswerNextOpenDialog(path);
  return headless::Click(rollup, IDC_TRACKER_OPEN) && !headless::OpenDialogs().back().cancelled;
}

void WriteKeys(JsonWriter& json, IParamBlock* pblock, int param) {
  json.BeginArray();
  Control* c = pblock->GetController(param);
  for (int k = 0; c && k < c->NumKeys(); ++k) {
    const TimeValue t = c->GetKeyTime(k);
    float value = 0.0f;
    Interval valid = FOREVER;
    c->GetValue(t, &value, valid);
    json.BeginArray().Int(t).Float(value).EndArray();
  }
  json.EndArray();
}

void WriteParameters(JsonWriter& json, IParamBlock* pblock) {
  json.BeginArray();
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) {
    json.BeginObject().Key("index").Int(i).Key("name").String(ChannelParamName(i)).Key("keys");
    WriteKeys(json, pblock, i);
    json.EndObject();
  }
  json.EndArray();
}

void WriteKeysJson(std::ostream& out, const FaceRequest& request, IParamBlock* pblock, const MessageLog& messages) {
  JsonWriter json(out);
  json.BeginObject().Key("file").String(FileNameOf(request.recording));
  json.Key("ticksPerFrame").Int(GetTicksPerFrame()).Key("parameters");
  WriteParameters(json, pblock);
  json.Key("messages");
  messages.WriteJson(json);
  json.EndObject();
  out << "\n";
}

bool KeysWritten(IParamBlock* pblock) {
  Control* c = pblock->GetController(PB_MOUTH_VERTICAL);
  return c && c->NumKeys() > 0;
}

// The keys as JSON, or the animated face as glTF; false, with *problem, when
// the face does not fit glTF.
bool WriteFace(const FaceRequest& request, ExpressionObject* obj, const MessageLog& messages, std::ostream& to,
               std::string* problem) {
  bool binary = false;
  if (request.format == "gltf" && IsGltfPath(request.output, &binary))
    return ExpressionGltf(obj, 0, true, binary, to, problem);
  WriteKeysJson(to, request, obj->pblock, messages);
  return true;
}

// An output file is replaced only by the report of a run that gave keys.
int WriteFaceOutput(const FaceRequest& request, ExpressionObject* obj, const MessageLog& messages,
                    std::ostream& out, std::ostream& err) {
  const bool keyed = KeysWritten(obj->pblock);
  if (!keyed && !request.output.empty()) {
    err << "mirova: no key was written, so neither was " << request.output << "\n";
    return EXIT_REFUSED;
  }
  const int status = WriteReportTo(request.output, out, err, [&](std::ostream& to, std::string* problem) {
    return WriteFace(request, obj, messages, to, problem);
  });
  return status == EXIT_OK && !keyed ? EXIT_REFUSED : status;
}

}  // namespace

int RunFace(const Args& args, std::ostream& out, std::ostream& err) {
  FaceRequest request;
  std::string problem;
  if (!ParseFaceArgs(args, request, problem)) {
    err << "mirova: " << problem << "\n" << faceUsage;
    return EXIT_USAGE;
  }
  if (request.neutral.empty()) request.neutral = FindBundledNeutral();
  ObjMesh neutral;
  if (request.neutral.empty()) {
    err << "mirova: the bundled " << bundledNeutral << " was not found; give --neutral FILE.obj\n";
    return EXIT_USAGE;
  }
  if (!ReadObj(request.neutral, neutral, &problem)) {
    err << "mirova: " << problem << "\n";
    return EXIT_USAGE;
  }
  Plugin plugin(PluginPath(Args()));
  if (!plugin.Loaded()) {
    ReportNotLoaded(plugin, err);
    return EXIT_USAGE;
  }
  headless::Host host;
  host.SetFrameRate(request.fps);
  if (isatty(STDERR_FILENO)) host.ShowProgressOn(stderr);
  MessageLog messages(err);
  INode* face = host.CreateNode(MakeTriObject(neutral), "Face");
  ExpressionObject* obj = CreateFromPanel(host, plugin.ExpressionObjectClass(), face);
  HWND rollup = obj ? RollupPage(host, "Face Tracker") : nullptr;
  if (!rollup) {
    err << "mirova: the expression object's Face Tracker rollup did not open\n";
    return EXIT_USAGE;
  }
  const int assigned = AssignTargets(obj, request.targets, neutral.points.size(), err);
  if (assigned != EXIT_OK) return assigned;
  if (!OpenRecording(rollup, request.recording)) {
    err << "mirova: cannot open " << request.recording << "\n";
    return EXIT_USAGE;
  }
  PrintReadFault(err, request.recording, obj->trackerInput.data.fault);
  headless::Click(rollup, IDC_TRACKER_APPLY);
  host.LeaveCreatePanel();
  return WriteFaceOutput(request, obj, messages, out, err);
}

}  // namespace cli

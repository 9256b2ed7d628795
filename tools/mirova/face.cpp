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
#include "command_line.h"
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

struct FaceRequest {
  std::string recording, neutral, output;
  std::string format = "json";
  std::vector<TargetFile> targets;
  int fps = 30;
};

// What the parser leaves for the checks after it: --fps and each --target
// as typed.
struct FaceWords {
  std::string fps = "30";
  std::vector<std::string> targets;
};

void DefineFaceOptions(CLI::App& app, FaceRequest& request, FaceWords& words) {
  app.add_option("FILE.trc", request.recording, "The tracker recording, opened by the Face Tracker's \"Open...\"")
      ->type_name("");
  app.add_option("--fps", words.fps, "Frames a second of the scene (30), a whole number from 1 to 4800")
      ->type_name("N");
  app.add_option("--neutral", request.neutral, "The Neutral face (the built-in example face by default)")
      ->type_name("FILE.obj");
  app.add_option("--target", words.targets, "A target's mesh; NAME is one of " + TargetNames())
      ->type_name("NAME=FILE.obj")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--format", request.format, "json (default): the keys; gltf: the animated face (-o OUT.glb|OUT.gltf)")
      ->type_name("json|gltf")
      ->check(CLI::IsMember({"json", "gltf"}).description(""));
  app.add_option("-o", request.output, "Write to OUT, whole or not at all, instead of standard output")
      ->type_name("OUT");
}

// "" when the words make a request, else what is wrong.
std::string CheckFaceWords(const FaceWords& words, FaceRequest& request) {
  std::string problem;
  if (!ParseFps(words.fps, request.fps)) return "--fps wants a whole number of frames a second from 1 to 4800";
  for (const std::string& target : words.targets)
    if (!ParseTargetOption(target, &request.targets, &problem)) return problem;
  if (request.recording.empty()) return "a tracker recording (FILE.trc) is required";
  if (request.format == "gltf" && !IsGltfPath(request.output)) return "--format gltf wants -o OUT.glb or OUT.gltf";
  return "";
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
bool WriteFace(const FaceRequest& request, const Plugin& plugin, ExpressionObject* obj, const MessageLog& messages,
               std::ostream& to, std::string* problem) {
  bool binary = false;
  if (request.format == "gltf" && IsGltfPath(request.output, &binary))
    return ExpressionGltf(*plugin.Library(), obj, 0, true, binary, to, problem);
  WriteKeysJson(to, request, obj->pblock, messages);
  return true;
}

// An output file is replaced only by the report of a run that gave keys.
int WriteFaceOutput(const FaceRequest& request, const Plugin& plugin, ExpressionObject* obj,
                    const MessageLog& messages, std::ostream& out, std::ostream& err) {
  const bool keyed = KeysWritten(obj->pblock);
  if (!keyed && !request.output.empty()) {
    err << "mirova: no key was written, so neither was " << request.output << "\n";
    return EXIT_REFUSED;
  }
  const int status = WriteReportTo(request.output, out, err, [&](std::ostream& to, std::string* problem) {
    return WriteFace(request, plugin, obj, messages, to, problem);
  });
  return status == EXIT_OK && !keyed ? EXIT_REFUSED : status;
}

}  // namespace

int RunFace(const Args& args, std::ostream& out, std::ostream& err) {
  FaceRequest request;
  FaceWords words;
  CommandLine line("face");
  DefineFaceOptions(line.App(), request, words);
  const int parsed = line.Parse(args, out, err);
  if (parsed >= 0) return parsed;
  std::string problem = CheckFaceWords(words, request);
  if (!problem.empty()) return line.Refuse(problem, err);
  ObjMesh neutral;
  if (!(request.neutral.empty() ? ReadBuiltInFace(neutral, &problem) : ReadObj(request.neutral, neutral, &problem))) {
    err << "mirova: " << problem << "\n";
    return EXIT_USAGE;
  }
  Plugin plugin(ToolPluginPath());
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
  return WriteFaceOutput(request, plugin, obj, messages, out, err);
}

}  // namespace cli

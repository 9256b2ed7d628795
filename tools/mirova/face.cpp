// mirova face: a tracker recording turned into expression keys, as a user
// would do it: the expression object made on a neutral face, the targets
// picked on its Face Targets rollup, the recording opened into its tracker
// input, then "Apply".
#include <headless.h>
#include <unistd.h>

#include "commands.h"
#include "expression.h"
#include "face_morph.h"
#include "face_targets.h"
#include "file_names.h"
#include "gltf_rig.h"
#include "gltf_write.h"
#include "inspect_formats.h"
#include "json.h"
#include "output_file.h"
#include "resource.h"

namespace cli {

namespace {

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

void WriteKeysJson(std::ostream& out, const std::string& recording, IParamBlock* pblock,
                   const MessageLog& messages) {
  JsonWriter json(out);
  json.BeginObject().Key("file").String(FileNameOf(recording));
  json.Key("ticksPerFrame").Int(GetTicksPerFrame()).Key("parameters").BeginArray();
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) {
    json.BeginObject().Key("index").Int(i).Key("name").String(ChannelParamName(i)).Key("keys");
    WriteKeys(json, pblock, i);
    json.EndObject();
  }
  json.EndArray().Key("messages");
  messages.WriteJson(json);
  json.EndObject();
  out << "\n";
}

bool KeysWritten(IParamBlock* pblock) {
  Control* c = pblock->GetController(PB_MOUTH_VERTICAL);
  return c && c->NumKeys() > 0;
}

class FaceCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("FILE.trc", recording, "The tracker recording, opened by the Face Tracker's \"Open...\"")
        ->required()
        ->type_name("");
    app.add_option("--fps", fps, "Frames a second of the scene (30), a whole number from 1 to 4800")
        ->type_name("N")
        ->transform(WholeNumber(1, TIME_TICKSPERSEC));
    app.add_option("--neutral", neutral, "The Neutral face (the built-in example face by default)")
        ->type_name("FILE.obj");
    AddTargetOption(app, targetWords);
    app.add_flag("--no-targets", noTargets,
                 "glTF of the built-in face: leave out its targets (a face that does not move)");
    formatOption = app.add_option("--format", format,
                                  "json (default): the keys; gltf: the animated face (-o OUT.glb|OUT.gltf); "
                                  "-o's extension chooses when it has one")
        ->type_name("json|gltf")
        ->check(OneOf({"json", "gltf"}));
    app.add_option("-o", output, "Write to OUT, whole or not at all, instead of standard output")->type_name("OUT");
    app.add_option("--rig", rig, "Drive this glTF rig's morph targets instead (-o OUT.glb|OUT.gltf)")
        ->type_name("AVATAR.glb|.gltf");
    app.add_option("--map", map, "With --rig: which targets each channel drives (the 52-name preset by default)")
        ->type_name("MAP.json");
  }

  std::string Check() override {
    std::string problem;
    if (!ParseTargetOptions(targetWords, &targets, &problem)) return problem;
    format = OutputFormat(output, format, formatOption->count() > 0, {"json", "gltf"}, &problem);
    if (!problem.empty()) return problem;
    if (format == "gltf" && !IsGltfPath(output)) return "glTF wants -o OUT.glb or OUT.gltf";
    if (noTargets && !(neutral.empty() && targets.empty())) return "--no-targets is for the built-in face alone";
    if (!map.empty() && rig.empty()) return "--map is for --rig";
    if (!rig.empty() && format != "gltf") return "--rig wants -o OUT.glb or OUT.gltf";
    if (!rig.empty() && (!neutral.empty() || !targets.empty() || noTargets))
      return "--rig takes the channels' weights alone: --neutral, --target and --no-targets have no part in it";
    if (!rig.empty()) return "";
    // The example face moves as it should unless told otherwise; its targets
    // matter to glTF only, so JSON is spared picking them.
    if (format == "gltf" && neutral.empty() && !noTargets) AddBuiltInTargets(&targets);
    return "";
  }

  std::vector<std::string> Inputs() const override {
    std::vector<std::string> files = TargetPaths(targets);
    files.insert(files.begin(), recording);
    if (!neutral.empty()) files.insert(files.begin() + 1, neutral);
    for (const std::string* file : {&rig, &map})
      if (!file->empty()) files.push_back(*file);
    return files;
  }
  std::string Output() const override { return output; }

  int Run(std::ostream& out, std::ostream& err) override {
    const int loaded = rig.empty() ? EXIT_OK : gltfRig.Load(rig, map, err);
    if (loaded != EXIT_OK) return loaded;
    Session session(ToolPluginPath(), err);
    if (!session.Ready()) return EXIT_USAGE;
    if (isatty(STDERR_FILENO)) session.host.ShowProgressOn(stderr);
    Face face;
    int status = MakeFace(session, neutral, fps, &face, err);
    if (status == EXIT_OK) status = PickTargets(session.host, targets, PICK_INSTANCE, face.neutral, err);
    if (status == EXIT_OK) status = OpenRecording(session, face.obj, recording, err);
    if (status == EXIT_OK) status = CheckSpan(face.obj->trackerInput.data, err);
    if (status != EXIT_OK) return status;
    NoteLostMarkers(face.obj->trackerInput.data, err);
    headless::Click(RollupPage(session.host, "Face Tracker"), IDC_TRACKER_APPLY);
    session.host.LeaveCreatePanel();
    return WriteOutput(session, face, out, err);
  }

 private:
  // An animation too long to write is refused before the keys are made.
  int CheckSpan(const TrackerData& data, std::ostream& err) const {
    const int n = data.SampleCount();
    const std::string problem =
        format == "gltf" && n > 0 ? AnimationSpanProblem(data.SampleTime(0), data.SampleTime(n - 1)) : "";
    if (problem.empty()) return EXIT_OK;
    err << "mirova: " << (output.empty() ? "" : output + ": ") << problem << "\n";
    return EXIT_REFUSED;
  }

  // Every marker lost in every sample keys a face that never moves, which
  // the library takes as a success; the user should still hear of it.
  void NoteLostMarkers(const TrackerData& data, std::ostream& err) const {
    for (int m = 0; m < data.MarkerCount(); ++m)
      if (data.Marker(m).validCount > 0) return;
    if (data.SampleCount() > 0)
      err << "mirova: " << Printable(recording) << ": no marker has a position in any sample; the face does not move\n";
  }

  // An output file is replaced only by the report of a run that gave keys.
  int WriteOutput(Session& session, const Face& face, std::ostream& out, std::ostream& err) {
    ExpressionObject* obj = face.obj;
    const bool keyed = KeysWritten(obj->pblock);
    if (format == "gltf" && targets.empty() && rig.empty())
      err << "mirova: no target is picked, so the face in " << Printable(output) << " will not move\n";
    if (!keyed && !output.empty()) {
      err << "mirova: no key was written, so neither was " << output << "\n";
      return EXIT_REFUSED;
    }
    std::string note;
    const int status = WriteReportTo(output, out, err, [&](std::ostream& to, std::string* problem) {
      if (!rig.empty())
        return gltfRig.Drive(*session.plugin.Library(), obj, recording, output, to, err, problem, &note);
      if (format == "gltf")
        return WriteExpressionGltf(*session.plugin.Library(), obj, face.neutral, 0, true, output, to, problem, &note);
      WriteKeysJson(to, recording, obj->pblock, session.messages);
      return true;
    });
    if (status == EXIT_OK && !note.empty()) err << "mirova: " << note << "\n";
    return status == EXIT_OK && !keyed ? EXIT_REFUSED : status;
  }

  std::string recording, neutral, output, format = "json", rig, map;
  GltfRig gltfRig;
  CLI::Option* formatOption = nullptr;
  int fps = 30;
  std::vector<std::string> targetWords;
  std::vector<TargetFile> targets;
  bool noTargets = false;
};

}  // namespace

std::unique_ptr<Command> MakeFaceCommand() { return std::make_unique<FaceCommand>(); }

}  // namespace cli

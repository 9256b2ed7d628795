// mirova morph: blends a face from OBJ meshes through the expression object,
// as a user would set it up in the host.
#include <headless.h>

#include <cmath>

#include "commands.h"
#include "expression.h"
#include "face_morph.h"
#include "face_targets.h"
#include "gltf_write.h"
#include "json.h"
#include "mesh_normals.h"
#include "morph_settings.h"
#include "output_file.h"

namespace cli {

namespace {

// Settings far past 100 % can carry points past a float's range, which no
// reader takes back.
bool AllFinite(const std::vector<Point3>& points) {
  for (const Point3& p : points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  return true;
}

class MorphCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("--neutral", neutral, "The Neutral face the object is created on")
        ->required()
        ->type_name("FILE.obj");
    AddTargetOption(app, targetWords);
    app.add_option("--method", method, "The pick method's radio (instance)")
        ->type_name("copy|reference|instance|move")
        ->check(OneOf({"copy", "reference", "instance", "move"}));
    app.add_option("--set", settingWords,
                   "A value typed into a spinner, by the parameter's name (\"Mouth Vertical=50\", \"Scale: Frown=100\")")
        ->type_name("\"PARAM=PERCENT\"")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--time", time, "The time the object is evaluated at (0)")
        ->type_name("TICKS")
        ->transform(WholeNumber(-2147483647LL, 2147483647LL));
    app.add_option("-o", output, "The blended mesh (OBJ), or the face with its targets (glTF)")
        ->required()
        ->type_name("OUT.obj|OUT.glb|OUT.gltf");
  }

  std::string Check() override {
    std::string problem;
    if (!ParseTargetOptions(targetWords, &targets, &problem) || !ParseSettings(settingWords, &settings, &problem))
      return problem;
    format = OutputFormat(output, "obj", false, {"obj", "gltf"}, &problem);
    return problem;
  }

  std::vector<std::string> Inputs() const override {
    std::vector<std::string> files = TargetPaths(targets);
    files.insert(files.begin(), neutral);
    return files;
  }
  std::string Output() const override { return output; }

  int Run(std::ostream& out, std::ostream& err) override {
    Session session(ToolPluginPath(), err);
    if (!session.Ready()) return EXIT_USAGE;
    const size_t assertsBefore = headless::AssertReports().size();
    const LibraryAccess& library = *session.plugin.Library();
    Face face;
    int status = MakeFace(session, neutral, 30, &face, err);
    if (status == EXIT_OK) status = PickTargets(session.host, targets, ParsePickMethod(method), face.neutral, err);
    if (status == EXIT_OK) status = TypeSettings(session.host, library, face.obj, settings, err);
    session.host.LeaveCreatePanel();
    if (status != EXIT_OK) return status;

    ExpressionObject* obj = face.obj;
    ObjectState os = obj->Eval(time);
    std::vector<Point3> points;
    for (int i = 0; i < os.obj->NumPoints(); ++i) points.push_back(os.obj->GetPoint(i));
    const ObjMesh result = Reshaped(face.neutral, points);
    bool failed = headless::AssertReports().size() != assertsBefore || !session.messages.Boxes().empty();
    if (!AllFinite(result.points)) {
      err << "mirova: the blend carries points past a float's range; nothing is written\n";
      failed = true;
    }
    if (!failed) {
      const int written = WriteReportTo(output, out, err, [&](std::ostream& to, std::string* problem) {
        if (format == "gltf") return WriteExpressionGltf(library, obj, face.neutral, time, false, output, to, problem);
        WriteObj(to, result);
        return true;
      });
      if (written != EXIT_OK) return written;
    }
    WriteSummary(out, result, session.messages);
    return failed ? EXIT_REFUSED : EXIT_OK;
  }

 private:
  void WriteSummary(std::ostream& out, const ObjMesh& result, const MessageLog& messages) const {
    JsonWriter json(out);
    json.BeginObject().Key("output").String(output);
    json.Key("points").Int(static_cast<long long>(result.points.size()));
    json.Key("faces").Int(static_cast<long long>(result.polygons.size())).Key("time").Int(time);
    json.Key("messages");
    messages.WriteJson(json);
    json.EndObject();
    out << "\n";
  }

  std::string neutral, output, method = "instance", format;
  std::vector<std::string> targetWords, settingWords;
  std::vector<TargetFile> targets;
  std::vector<Setting> settings;
  TimeValue time = 0;
};

}  // namespace

std::unique_ptr<Command> MakeMorphCommand() { return std::make_unique<MorphCommand>(); }

}  // namespace cli

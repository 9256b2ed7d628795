// mirova take CAMERA: the way back to the rig. A camera move from glTF or
// .chan becomes the motion-control take that, applied by the utility to a
// free camera, keys that camera where the move's camera was.
#include "chan_read.h"
#include "commands.h"
#include "file_names.h"
#include "gltf_camera_read.h"
#include "gltf_write.h"
#include "output_file.h"
#include "take_write.h"
#include "textmode.h"

namespace cli {

namespace {

class TakeCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("CAMERA", source, "The camera move: a glTF file (.glb, .gltf) or a .chan file")
        ->required()
        ->type_name("CAMERA.glb|.gltf|.chan");
    app.add_option("--camera", camera, "The glTF node that holds the camera, by name (when there are several)")
        ->type_name("NAME");
    app.add_option("--fps", span.fps, "Samples a second (30), the rate the take is applied at; 1 to 4800")
        ->type_name("N")
        ->check(WholeNumber(1, 4800));
    app.add_option("--frames", frames, "Frames A to B of the move, N a second, instead of its first key to its last")
        ->type_name("A:B");
    app.add_option("--focus", focusText, "Write a FOCUS axis holding V in every sample")->type_name("V");
    app.add_option("-o", output, "The take to write, whole or not at all")->required()->type_name("TAKE.asc");
  }

  std::string Check() override {
    chan = HasExtension(source, ".chan");
    if (!chan && !IsGltfPath(source)) return "CAMERA must end in .glb, .gltf or .chan: " + Printable(source);
    if (chan && !camera.empty()) return "--camera chooses a glTF node; a .chan file holds one camera";
    if (!HasExtension(output, ".asc")) return "-o wants a take ending in .asc: " + Printable(output);
    if (!frames.empty() && !ParseFrames()) return "--frames wants A:B, frame numbers from 0 with A not after B";
    if (!focusText.empty() && DecimalWord(focusText.data(), focusText.data() + focusText.size(), focus) != Scan::kOk)
      return "--focus wants a decimal number a take can hold, not \"" + Printable(focusText) + "\"";
    return "";
  }

  std::vector<std::string> Inputs() const override { return {source}; }
  std::string Output() const override { return output; }

  int Run(std::ostream&, std::ostream& err) override {
    const CameraRead read = chan ? ReadChanCamera(source) : ReadGltfCamera(source, camera, span.fps);
    if (!read.source) {
      err << "mirova: " << read.problem << "\n";
      return read.status;
    }
    if (!read.note.empty()) err << "mirova: " << read.note << "\n";
    OutputFile file(output);
    std::string problem;
    if (!WriteTake(*read.source, span, focusText.empty() ? nullptr : &focus, file.Stream(), &problem)) {
      err << "mirova: " << Printable(source) << ": " << problem << "\n";
      return EXIT_REFUSED;
    }
    return file.Commit(err) ? EXIT_OK : EXIT_USAGE;
  }

 private:
  bool ParseFrames() { return span.frames = ReadRange(frames, 2147483647LL, &span.first, &span.last); }

  std::string source, camera, frames, focusText, output;
  TakeSpan span;
  float focus = 0;
  bool chan = false;
};

}  // namespace

std::unique_ptr<Command> MakeTakeCommand() { return std::make_unique<TakeCommand>(); }

}  // namespace cli

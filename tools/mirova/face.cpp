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

#include "cli.h"
#include "inspect_formats.h"
#include "json.h"
#include "messages.h"
#include "mirovaobj.h"
#include "obj_file.h"
#include "read_fault.h"

namespace cli {

namespace {

const char faceUsage[] = "usage: mirova face FILE.trc [--fps N] [--neutral FILE.obj] [-o OUT.json]\n";
const char bundledNeutral[] = "examples/face/neutral.obj";

struct FaceRequest {
  std::string recording, neutral, output;
  int fps = 30;
};

bool ParseFps(const std::string& s, int& fps) {
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v < 1 || v > TIME_TICKSPERSEC) return false;
  fps = static_cast<int>(v);
  return true;
}

bool ParseFaceArgs(const Args& args, FaceRequest& request, std::string& problem) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--fps" || a == "--neutral" || a == "-o") {
      if (i + 1 >= args.size()) {
        problem = a + " wants a value";
        return false;
      }
      const std::string& value = args[++i];
      if (a == "--fps" && !ParseFps(value, request.fps)) {
        problem = "--fps wants a whole number of frames a second from 1 to 4800";
        return false;
      }
      if (a == "--neutral") request.neutral = value;
      if (a == "-o") request.output = value;
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
  return true;
}

// The example face that ships with the sources: looked for above the
// program's own folder (the build tree lives inside the source tree).
std::string FindBundledNeutral() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return "";
  std::string dir(self, static_cast<size_t>(length));
  for (int up = 0; up < 5; ++up) {
    const size_t slash = dir.rfind('/');
    if (slash == std::string::npos) break;
    dir.erase(slash);
    const std::string candidate = dir + "/" + bundledNeutral;
    if (std::ifstream(candidate).good()) return candidate;
  }
  return "";
}

// The expression object made on the node as creation makes it: the node's
// object becomes the Neutral target.
ExpressionObject* CreateOnNode(INode* node) {
  auto* obj = static_cast<ExpressionObject*>(GetExpressionObjectDesc()->Create(FALSE));
  obj->targets[TARGET_NEUTRAL].offsetTM = node->GetObjectTM(0) * Inverse(node->GetNodeTM(0));
  obj->ReplaceReference(TARGET_NEUTRAL + 1, node->GetObjectRef());
  node->SetObjectRef(obj);
  return obj;
}

// Opens the recording into the object's tracker input as the Face Tracker
// rollup's "Open..." does: read, then stabilised against the nose bridge.
bool OpenRecording(TrackerInput& input, const std::string& path) {
  FILE* stream = std::fopen(path.c_str(), "rt");
  if (!stream) return false;
  input.data.Read(stream);
  input.data.Stabilise("nose_bridge");
  std::fclose(stream);
  std::snprintf(input.path, sizeof input.path, "%s", path.c_str());
  return true;
}

std::string KeysJson(IParamBlock* pblock, int param) {
  std::string json = "[";
  Control* c = pblock->GetController(param);
  for (int k = 0; c && k < c->NumKeys(); ++k) {
    const TimeValue t = c->GetKeyTime(k);
    float value = 0.0f;
    Interval valid = FOREVER;
    c->GetValue(t, &value, valid);
    json += (k ? ", [" : "[") + std::to_string(t) + ", " + JsonFloat(value) + "]";
  }
  return json + "]";
}

std::string ParametersJson(IParamBlock* pblock) {
  std::string json = "[";
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) {
    json += (i ? ", " : "");
    json += "{\"index\": " + std::to_string(i) + ", \"name\": " + JsonString(ChannelParamName(i)) +
            ", \"keys\": " + KeysJson(pblock, i) + "}";
  }
  return json + "]";
}

bool KeysWritten(IParamBlock* pblock) {
  Control* c = pblock->GetController(PB_MOUTH_VERTICAL);
  return c && c->NumKeys() > 0;
}

bool WriteReport(const FaceRequest& request, const std::string& json, std::ostream& out) {
  if (request.output.empty()) {
    out << json;
    return true;
  }
  std::ofstream file(request.output, std::ios::binary);
  file << json;
  return static_cast<bool>(file.flush());
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
  headless::Host host;
  host.SetFrameRate(request.fps);
  if (isatty(STDERR_FILENO)) host.ShowProgressOn(stderr);
  MessageLog messages(err);
  ExpressionObject* obj = CreateOnNode(host.CreateNode(MakeTriObject(neutral), "Face"));
  if (!OpenRecording(obj->trackerInput, request.recording)) {
    err << "mirova: cannot open " << request.recording << "\n";
    return EXIT_USAGE;
  }
  PrintReadFault(err, request.recording, obj->trackerInput.data.fault);
  obj->trackerInput.Apply(obj);
  const std::string json = "{\"file\": " + JsonString(FileNameOf(request.recording)) +
                           ", \"ticksPerFrame\": " + std::to_string(GetTicksPerFrame()) +
                           ", \"parameters\": " + ParametersJson(obj->pblock) +
                           ", \"messages\": " + messages.Json() + "}\n";
  if (!WriteReport(request, json, out)) {
    err << "mirova: cannot write " << request.output << "\n";
    return EXIT_USAGE;
  }
  return KeysWritten(obj->pblock) ? EXIT_OK : EXIT_REFUSED;
}

}  // namespace cli

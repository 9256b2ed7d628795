// mirova info: loads the plug-in as the host does and lists what it exports.
#include <max.h>

#include <cstdio>
#include <unistd.h>

#include "cli.h"
#include "json.h"

namespace cli {

namespace {

using LibDescriptionFn = const TCHAR* (*)();
using LibNumberClassesFn = int (*)();
using LibClassDescFn = ClassDesc* (*)(int);
using LibVersionFn = ULONG (*)();

// An export by name; the detour through a plain function pointer is how a
// FARPROC is turned into the export's own type.
template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::string Hex(ULONG value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

std::string ClassJson(ClassDesc* cd) {
  Class_ID id = cd->ClassID();
  return "{\"name\": " + JsonString(cd->ClassName()) +
         ", \"category\": " + JsonString(cd->Category()) +
         ", \"superClassID\": " + JsonString(Hex(cd->SuperClassID())) +
         ", \"classID\": [" + JsonString(Hex(id.PartA())) + ", " +
         JsonString(Hex(id.PartB())) + "]}";
}

}  // namespace

std::string PluginPath(const Args& args) {
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--plugin") return args[i + 1];
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string("./mirova");
  return dir.substr(0, dir.find_last_of('/') + 1) + "mirova.dlu";
}

int RunInfo(const Args& args, std::ostream& out, std::ostream& err) {
  if (!(args.empty() || (args.size() == 2 && args[0] == "--plugin"))) {
    err << "usage: mirova info [--plugin FILE]\n";
    return EXIT_USAGE;
  }
  std::string path = PluginPath(args);
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) {
    err << "mirova: cannot load the plug-in " << path << "\n";
    return EXIT_USAGE;
  }
  auto description = Export<LibDescriptionFn>(module, "LibDescription");
  auto numberClasses = Export<LibNumberClassesFn>(module, "LibNumberClasses");
  auto classDesc = Export<LibClassDescFn>(module, "LibClassDesc");
  auto version = Export<LibVersionFn>(module, "LibVersion");
  if (!description || !numberClasses || !classDesc || !version) {
    err << "mirova: " << path << " is not a plug-in: an export is missing\n";
    FreeLibrary(module);
    return EXIT_REFUSED;
  }
  out << "{\"plugin\": " << JsonString(path) << ", \"description\": " << JsonString(description())
      << ", \"version\": " << JsonString(Hex(version())) << ", \"classes\": [";
  int count = numberClasses();
  for (int i = 0; i < count; ++i) {
    ClassDesc* cd = classDesc(i);
    out << (i ? ", " : "") << (cd ? ClassJson(cd) : std::string("null"));
  }
  out << "], \"classCount\": " << count << "}\n";
  FreeLibrary(module);
  return EXIT_OK;
}

}  // namespace cli

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

void WriteClass(JsonWriter& json, ClassDesc* cd) {
  if (!cd) {
    json.Null();
    return;
  }
  Class_ID id = cd->ClassID();
  json.BeginObject().Key("name").String(cd->ClassName()).Key("category").String(cd->Category());
  json.Key("superClassID").String(Hex(cd->SuperClassID()));
  json.Key("classID").BeginArray().String(Hex(id.PartA())).String(Hex(id.PartB())).EndArray();
  json.EndObject();
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
  JsonWriter json(out);
  json.BeginObject().Key("plugin").String(path).Key("description").String(description());
  json.Key("version").String(Hex(version())).Key("classes").BeginArray();
  int count = numberClasses();
  for (int i = 0; i < count; ++i) WriteClass(json, classDesc(i));
  json.EndArray().Key("classCount").Int(count).EndObject();
  out << "\n";
  FreeLibrary(module);
  return EXIT_OK;
}

}  // namespace cli

#include "plugin.h"

#include <unistd.h>

#include <utility>

#include "cli.h"

namespace cli {

namespace {

// An export by name; the detour through a plain function pointer is how a
// FARPROC is turned into the export's own type.
template <typename Fn>
void FindExport(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

static std::string ProgramFolder() {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  const std::string path = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string("./mirova");
  return path.substr(0, path.find_last_of('/') + 1);
}

// A module's file: beside the program in a build; in ../lib/mirova/ from
// the program's folder in an install.
static std::string InstalledPath(const std::string& file) { return ProgramFolder() + "../lib/mirova/" + file; }

static std::string ModulePath(const std::string& file) {
  const std::string beside = ProgramFolder() + file;
  const std::string installed = InstalledPath(file);
  if (access(beside.c_str(), F_OK) != 0 && access(installed.c_str(), F_OK) == 0) return installed;
  return beside;
}

std::string PluginPath() { return ModulePath("mirova.dlu"); }

std::string ToolPluginPath() { return ModulePath("mirova-tool.dlu"); }

Plugin::Plugin(std::string file) : path(std::move(file)), module(LoadLibraryA(path.c_str())) {
  if (!module) return;
  FindExport(module, "LibDescription", description);
  FindExport(module, "LibNumberClasses", numberClasses);
  FindExport(module, "LibClassDesc", classDesc);
  FindExport(module, "LibVersion", version);
  LibraryAccessFunction accessor = nullptr;
  FindExport(module, MIROVA_LIBRARY_ACCESS_EXPORT, accessor);
  if (accessor) library = accessor();
}

Plugin::~Plugin() {
  if (module) FreeLibrary(module);
}

ClassDesc* Plugin::MotionControlClass() const {
  if (!HasExports()) return nullptr;
  for (int i = 0; i < NumberClasses(); ++i) {
    ClassDesc* cd = ClassDescAt(i);
    if (cd && cd->SuperClassID() == UTILITY_CLASS_ID && std::string(cd->ClassName()) == "TzMotionControl")
      return cd;
  }
  return nullptr;
}

void ReportNotLoaded(const Plugin& plugin, std::ostream& err) {
  const std::string& path = plugin.Path();
  err << "mirova: cannot load the plug-in " << path;
  // A module looked for in both places of ModulePath is said missing from both.
  const std::string file = path.substr(path.find_last_of('/') + 1);
  if (access(path.c_str(), F_OK) != 0) {
    err << ": no such file";
    if (path == ProgramFolder() + file) err << ", nor " << InstalledPath(file);
  }
  err << "\n";
}

int CheckExports(const Plugin& plugin, std::ostream& err) {
  if (!plugin.Loaded()) {
    ReportNotLoaded(plugin, err);
    return EXIT_USAGE;
  }
  if (!plugin.HasExports()) {
    err << "mirova: " << plugin.Path() << " is not a plug-in: an export is missing\n";
    return EXIT_REFUSED;
  }
  return EXIT_OK;
}

}  // namespace cli

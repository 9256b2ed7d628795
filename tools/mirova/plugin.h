// The plug-in as the host holds it: the module loaded through LoadLibraryA,
// so that its entry point runs (setting up the custom controls its panels
// use), its classes found, and the module freed again with the handle.
#ifndef MIROVA_CLI_PLUGIN_H
#define MIROVA_CLI_PLUGIN_H
#include <max.h>

#include <ostream>
#include <string>

#include "library_access.h"

namespace cli {

class Plugin {
 public:
  // Loads the module at path; Loaded() tells whether it did.
  explicit Plugin(std::string path);
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  bool Loaded() const { return module != nullptr; }
  // Whether the module has the four plug-in exports.
  bool HasExports() const { return description && numberClasses && classDesc && version; }
  const std::string& Path() const { return path; }

  // The exports; only when HasExports().
  const TCHAR* Description() const { return description(); }
  ULONG Version() const { return version(); }
  int NumberClasses() const { return numberClasses(); }
  ClassDesc* ClassDescAt(int i) const { return classDesc(i); }

  // The motion-control utility as the class table lists it, or null.
  ClassDesc* MotionControlClass() const;
  // What the command-line host's build of the plug-in (ToolPluginPath)
  // gives besides its exports; null for any other module, mirova.dlu too.
  const LibraryAccess* Library() const { return library; }
  // The expression object's descriptor, which the class table does not
  // list: from Library(), so null unless the module is the tool build.
  ClassDesc* ExpressionObjectClass() const { return library ? library->expressionObjectClass() : nullptr; }

 private:
  std::string path;
  HMODULE module = nullptr;
  const TCHAR* (*description)() = nullptr;
  int (*numberClasses)() = nullptr;
  ClassDesc* (*classDesc)(int) = nullptr;
  ULONG (*version)() = nullptr;
  const LibraryAccess* library = nullptr;
};

// The plug-in module, mirova.dlu: beside the program (a build), or in
// ../lib/mirova/ from the program's folder (an installed copy).
std::string PluginPath();
// The command-line host's build of the plug-in, mirova-tool.dlu, found the
// same way: the module of every command that makes the expression object.
std::string ToolPluginPath();

// Says on err that the plug-in at path cannot be loaded.
void ReportNotLoaded(const Plugin& plugin, std::ostream& err);

// EXIT_OK when plugin loaded with its four exports; otherwise says on err
// what is wrong and returns EXIT_USAGE (not loaded) or EXIT_REFUSED (no
// plug-in).
int CheckExports(const Plugin& plugin, std::ostream& err);

}  // namespace cli

#endif

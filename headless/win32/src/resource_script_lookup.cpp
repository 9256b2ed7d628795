// Finding what a Win32 call names: a dialog or menu template by number or
// name, and a module's script, parsed on its first use.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "module_registry.h"
#include "resource_script.h"
#include "window_table.h"

namespace headless::detail {

bool ResourceName::Matches(LPCSTR requested) const {
  if (!requested) return false;
  if (IS_INTRESOURCE(requested))
    return name.empty() && id == static_cast<int>(reinterpret_cast<ULONG_PTR>(requested));
  if (requested[0] == '#') return name.empty() && id == std::atoi(requested + 1);
  return !name.empty() && SameName(name, requested);
}

const DialogTemplate* ResourceScript::FindDialog(LPCSTR name) const {
  for (const DialogTemplate& d : dialogs)
    if (d.name.Matches(name)) return &d;
  return nullptr;
}

const MenuTemplate* ResourceScript::FindMenu(LPCSTR name) const {
  for (const MenuTemplate& m : menus)
    if (m.name.Matches(name)) return &m;
  return nullptr;
}

const ResourceScript& ModuleResources(HINSTANCE module) {
  static const ResourceScript none;
  Module* m = FindModule(module);
  if (!m) return none;
  if (!m->parsedScript) {
    auto script = std::make_shared<ResourceScript>(ParseResourceScript(m->resourceScript));
    if (!script->error.empty())
      std::fprintf(stderr, "stand-in: resource script of %s: %s\n", m->path.c_str(),
                   script->error.c_str());
    m->parsedScript = std::move(script);
  }
  return *m->parsedScript;
}

}  // namespace headless::detail

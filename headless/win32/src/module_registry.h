// The stand-in's table of loaded modules (internal to win32).
#ifndef HEADLESS_MODULE_REGISTRY_H
#define HEADLESS_MODULE_REGISTRY_H
#include <windows.h>

#include <map>
#include <memory>
#include <string>

namespace headless::detail {

struct ResourceScript;

struct Module {
  Module(std::string path, void* handle);
  std::string path;
  void* handle;  // from dlopen; null for the program itself and a data module
  bool dataOnly = false;  // only a resource script, no code
  int references = 1;
  std::string resourceScript;
  // resourceScript parsed, on first use: every dialog and menu reads it.
  std::shared_ptr<const ResourceScript> parsedScript;
};

std::map<HINSTANCE, std::unique_ptr<Module>>& Modules();
// The module of h, or of the program when h is null; null when unknown.
Module* FindModule(HINSTANCE h);

}  // namespace headless::detail

#endif

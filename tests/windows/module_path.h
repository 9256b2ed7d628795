// Where the modules under test are: beside the test program.
#ifndef MIROVA_WINDOWS_MODULE_PATH_H
#define MIROVA_WINDOWS_MODULE_PATH_H
#include <windows.h>

#include <string>

inline std::string ProgramDirectory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

inline std::string PluginPath() { return ProgramDirectory() + "mirova.dlu"; }

#endif

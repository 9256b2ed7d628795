// Modules: a plug-in file is a shared object mapped with dlopen. Its
// resources are the ".rsrc" section of its image, read from the file, as
// Windows reads a module's resources from its image.
#include <dlfcn.h>
#include <elf.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <headless_win32.h>

#include "module_registry.h"

namespace {

using DllMainFn = BOOL (*)(HINSTANCE, ULONG, LPVOID);

DWORD lastError = 0;

DllMainFn EntryPoint(void* handle) { return reinterpret_cast<DllMainFn>(dlsym(handle, "DllMain")); }

template <typename T>
bool ReadAt(std::ifstream& in, std::uint64_t offset, T* out, size_t count = 1) {
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(sizeof(T) * count));
  return static_cast<bool>(in);
}

// The text of the named section of a 64-bit ELF image, without its final
// terminator; empty when the image has no such section. Only the headers,
// the section names and that one section are read: a program with debug
// information is a hundred megabytes and more.
std::string ElfSection(const std::string& path, const char* name) {
  std::ifstream in(path, std::ios::binary);
  Elf64_Ehdr eh;
  if (!ReadAt(in, 0, &eh) || std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 ||
      eh.e_ident[EI_CLASS] != ELFCLASS64 || eh.e_shentsize != sizeof(Elf64_Shdr) ||
      eh.e_shstrndx >= eh.e_shnum)
    return {};
  std::vector<Elf64_Shdr> sections(eh.e_shnum);
  if (!ReadAt(in, eh.e_shoff, sections.data(), sections.size())) return {};
  const Elf64_Shdr& names = sections[eh.e_shstrndx];
  std::string nameTable(names.sh_size, '\0');
  if (!ReadAt(in, names.sh_offset, nameTable.data(), nameTable.size())) return {};
  for (const Elf64_Shdr& sh : sections) {
    if (sh.sh_name >= nameTable.size() || sh.sh_type == SHT_NOBITS ||
        std::strcmp(nameTable.c_str() + sh.sh_name, name) != 0)
      continue;
    std::string text(sh.sh_size, '\0');
    if (!ReadAt(in, sh.sh_offset, text.data(), text.size())) return {};
    return text.substr(0, text.find('\0'));
  }
  return {};
}

std::string SelfPath() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

}  // namespace

namespace headless::detail {

Module::Module(std::string p, void* h) : path(std::move(p)), handle(h) {
  resourceScript = ElfSection(path, ".rsrc");
}

std::map<HINSTANCE, std::unique_ptr<Module>>& Modules() {
  static std::map<HINSTANCE, std::unique_ptr<Module>> modules;
  return modules;
}

Module* FindModule(HINSTANCE h) {
  if (!h) h = GetModuleHandleA(nullptr);
  auto it = Modules().find(h);
  return it == Modules().end() ? nullptr : it->second.get();
}

}  // namespace headless::detail

using headless::detail::Module;
using headless::detail::Modules;

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  for (auto& entry : Modules()) {
    const std::string& path = entry.second->path;
    if (moduleName ? path.size() >= std::strlen(moduleName) &&
                         path.compare(path.size() - std::strlen(moduleName), std::string::npos,
                                      moduleName) == 0
                   : entry.second->handle == nullptr && !entry.second->dataOnly)
      return entry.first;
  }
  if (moduleName) return nullptr;
  // The program itself is registered on first use.
  auto module = std::make_unique<Module>(SelfPath(), nullptr);
  auto h = reinterpret_cast<HINSTANCE>(module.get());
  Modules()[h] = std::move(module);
  return h;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  void* handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::fprintf(stderr, "LoadLibraryA(%s): %s\n", fileName, dlerror());
    lastError = 126;  // ERROR_MOD_NOT_FOUND
    return nullptr;
  }
  for (auto& entry : Modules())
    if (entry.second->handle == handle) {
      dlclose(handle);  // already mapped: one more reference, as on Windows
      ++entry.second->references;
      return entry.first;
    }
  auto module = std::make_unique<Module>(fileName, handle);
  auto h = reinterpret_cast<HINSTANCE>(module.get());
  Modules()[h] = std::move(module);
  // The runtime has built the module's statics inside dlopen; now its entry.
  if (auto entry = EntryPoint(handle)) entry(h, DLL_PROCESS_ATTACH, nullptr);
  return h;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  Module* m = headless::detail::FindModule(module);
  void* symbol = m && !m->dataOnly ? dlsym(m->handle ? m->handle : RTLD_DEFAULT, procName) : nullptr;
  if (!symbol) lastError = 127;  // ERROR_PROC_NOT_FOUND
  return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module) {
  auto it = Modules().find(module);
  if (it == Modules().end() || !(it->second->handle || it->second->dataOnly)) return FALSE;
  if (--it->second->references > 0) return TRUE;
  if (it->second->dataOnly) {
    Modules().erase(it);
    return TRUE;
  }
  void* handle = it->second->handle;
  if (auto entry = EntryPoint(handle)) entry(module, DLL_PROCESS_DETACH, nullptr);
  Modules().erase(it);
  dlclose(handle);
  return TRUE;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

HINSTANCE headless::LoadResourceModule(const std::string& name, const std::string& script) {
  // Stand-in: the script is given as text, not read from an image.
  auto module = std::make_unique<Module>(std::string(), nullptr);
  module->path = name;
  module->dataOnly = true;
  module->resourceScript = script;
  auto h = reinterpret_cast<HINSTANCE>(module.get());
  Modules()[h] = std::move(module);
  return h;
}

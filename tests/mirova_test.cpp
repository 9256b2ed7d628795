// The library as the host loads it: the module file's exports, its entry
// point and its class table.
#include "mirova.h"

#include <gtest/gtest.h>
#include <headless.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "tzmotion.h"

namespace {

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

class LoadedModule : public testing::Test {
 protected:
  void SetUp() override {
    initsBefore = headless::CustomControlsInitCount();
    module = LoadLibraryA(MIROVA_PLUGIN_PATH);
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override { FreeLibrary(module); }
  HMODULE module = nullptr;
  int initsBefore = 0;
};

TEST_F(LoadedModule, PublishesOneClassThroughItsExports) {
  auto numberClasses = Export<int (*)()>(module, "LibNumberClasses");
  auto classDesc = Export<ClassDesc* (*)(int)>(module, "LibClassDesc");
  auto version = Export<ULONG (*)()>(module, "LibVersion");
  auto description = Export<const TCHAR* (*)()>(module, "LibDescription");
  ASSERT_TRUE(numberClasses && classDesc && version && description);

  EXPECT_EQ(numberClasses(), 1);
  EXPECT_EQ(version(), 0x0BB80700u);
  EXPECT_EQ(std::string(description()).rfind("TzTools. Contact ", 0), 0u);
  ClassDesc* cd = classDesc(0);
  ASSERT_NE(cd, nullptr);
  EXPECT_EQ(classDesc(0), cd);
  EXPECT_EQ(classDesc(1), nullptr);
  EXPECT_EQ(classDesc(-1), nullptr);
  EXPECT_STREQ(cd->ClassName(), "TzMotionControl");
  EXPECT_STREQ(cd->Category(), "TzTools");
  EXPECT_EQ(cd->SuperClassID(), static_cast<SClass_ID>(UTILITY_CLASS_ID));
  EXPECT_EQ(cd->ClassID(), Class_ID(0x23830F7C, 0x5B474FED));
  EXPECT_EQ(cd->IsPublic(), 1);
  // One static utility, whatever the host asks for.
  EXPECT_EQ(cd->Create(FALSE), cd->Create(TRUE));
}

TEST_F(LoadedModule, EntryPointInitialisesControlsOnceForTheModule) {
  EXPECT_EQ(headless::CustomControlsInitCount(), initsBefore + 1);
  EXPECT_EQ(headless::CustomControlsInstance(), module);
  auto entry = Export<BOOL (*)(HINSTANCE, ULONG, LPVOID)>(module, "DllMain");
  ASSERT_NE(entry, nullptr);
  for (ULONG reason : {DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_ATTACH})
    EXPECT_EQ(entry(module, reason, nullptr), TRUE);
  EXPECT_EQ(headless::CustomControlsInitCount(), initsBefore + 1);
}

TEST_F(LoadedModule, CarriesItsVersionResource) {
  std::string script = headless::ModuleResourceScript(module);
  for (const char* entry :
       {"VERSIONINFO", "FILEVERSION 1,0,0,0", "PRODUCTVERSION 1,0,0,0",
        "\"FileDescription\", \"Mirova - Facial Expression Plugin\\0\"",
        "\"FileVersion\", \"1.1\\0\"", "\"InternalName\", \"Mirova\\0\"",
        "\"OriginalFilename\", \"mirova.dlu\\0\"", "\"ProductName\", \"Mirova\\0\"",
        "\"ProductVersion\", \"1.1\\0\""}) {
    SCOPED_TRACE(entry);
    EXPECT_NE(script.find(entry), std::string::npos);
  }
}

// The dynamic symbol table of the module file holds exactly the plug-in's
// exports and its entry point.
TEST(ModuleFile, ExportsOnlyThePluginNames) {
  std::string command = std::string("nm -D --defined-only ") + MIROVA_PLUGIN_PATH;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::set<std::string> names;
  char line[512], type[8], name[400];
  while (fgets(line, sizeof line, pipe.get()))
    if (sscanf(line, "%*s %7s %399s", type, name) == 2 && std::string(type) == "T")
      names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"DllMain", "LibClassDesc", "LibDescription",
                                          "LibNumberClasses", "LibVersion"}));
}

// The same library linked into this program: a later entry-point call
// records its handle again and leaves the controls alone.
TEST(EntryPoint, LaterCallsRecordTheHandleOnly) {
  int customInits = headless::CustomControlsInitCount();
  int commonInits = headless::CommonControlsInitCount();
  HINSTANCE self = GetModuleHandleA(nullptr);
  auto other = reinterpret_cast<HINSTANCE>(0x1000);
  EXPECT_EQ(DllMain(other, DLL_THREAD_ATTACH, nullptr), TRUE);
  EXPECT_EQ(hInstance, other);
  EXPECT_EQ(DllMain(self, DLL_THREAD_DETACH, nullptr), TRUE);
  EXPECT_EQ(hInstance, self);
  EXPECT_EQ(headless::CustomControlsInitCount(), customInits);
  EXPECT_EQ(headless::CommonControlsInitCount(), commonInits);
}

}  // namespace

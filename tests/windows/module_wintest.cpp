// mirova.dlu as the host loads it: LoadLibraryA, the four exports by name
// and by ordinal, and the version resource read back through version.dll.
#include <windows.h>

#include <gtest/gtest.h>
#include <max.h>

#include <string>

#include "module_path.h"

namespace {

class ModuleTest : public testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryA(PluginPath().c_str());
    ASSERT_NE(module, nullptr) << "LoadLibraryA failed, error " << GetLastError();
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  FARPROC ByName(const char* name) const { return GetProcAddress(module, name); }
  FARPROC ByOrdinal(WORD ordinal) const { return GetProcAddress(module, MAKEINTRESOURCEA(ordinal)); }

  HMODULE module = nullptr;
};

TEST_F(ModuleTest, ExportsAreTheFourNamesAtOrdinalsOneToFour) {
  const char* const names[] = {"LibDescription", "LibNumberClasses", "LibClassDesc", "LibVersion"};
  for (WORD ordinal = 1; ordinal <= 4; ++ordinal) {
    SCOPED_TRACE(names[ordinal - 1]);
    FARPROC byName = ByName(names[ordinal - 1]);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName, ByOrdinal(ordinal));
  }
  EXPECT_EQ(ByOrdinal(5), nullptr);
  EXPECT_EQ(ByName("DllMain"), nullptr);
  EXPECT_EQ(ByName("DllMain@12"), nullptr);
}

TEST_F(ModuleTest, ExportsAnswerAsTheHostExpects) {
  using Description = const TCHAR* (*)();
  using Count = int (*)();
  using Desc = ClassDesc* (*)(int);
  using Version = ULONG (*)();
  auto description = reinterpret_cast<Description>(reinterpret_cast<void*>(ByOrdinal(1)));
  auto count = reinterpret_cast<Count>(reinterpret_cast<void*>(ByOrdinal(2)));
  auto classDesc = reinterpret_cast<Desc>(reinterpret_cast<void*>(ByOrdinal(3)));
  auto version = reinterpret_cast<Version>(reinterpret_cast<void*>(ByOrdinal(4)));
  ASSERT_TRUE(description && count && classDesc && version);
  EXPECT_STREQ(description(), "TzTools. Contact the TzTools team <tztools@example.com>");
  ASSERT_EQ(count(), 1);
  ClassDesc* cd = classDesc(0);
  ASSERT_NE(cd, nullptr);
  EXPECT_STREQ(cd->ClassName(), "TzMotionControl");
  EXPECT_EQ(classDesc(1), nullptr);
  EXPECT_EQ(classDesc(-1), nullptr);
  EXPECT_EQ(version(), static_cast<ULONG>(VERSION_3DSMAX));
}

// The version resource as Explorer's property page reads it.
TEST(ModuleVersion, ResourceReadsBackThroughVersionDll) {
  const std::string path = PluginPath();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_GT(size, 0u) << "error " << GetLastError();
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  ASSERT_TRUE(VerQueryValueA(&block[0], "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                             &length));
  ASSERT_GE(length, sizeof(Translation));
  EXPECT_EQ(translations->language, 0x409);
  EXPECT_EQ(translations->codePage, 1200);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  const struct {
    const char* key;
    const char* value;
  } strings[] = {{"FileDescription", "Mirova - Facial Expression Plugin"},
                 {"FileVersion", "1.1"},
                 {"InternalName", "Mirova"},
                 {"OriginalFilename", "mirova.dlu"},
                 {"ProductName", "Mirova"},
                 {"ProductVersion", "1.1"}};
  for (const auto& s : strings) {
    SCOPED_TRACE(s.key);
    char query[128];
    wsprintfA(query, "\\StringFileInfo\\%04x%04x\\%s", translations->language, translations->codePage, s.key);
    char* value = nullptr;
    ASSERT_TRUE(VerQueryValueA(&block[0], query, reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, s.value);
  }
}

}  // namespace

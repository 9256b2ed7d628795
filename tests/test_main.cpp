// Test program: where the library is linked in (MIROVA_TESTS_LINK_LIBRARY),
// its entry point runs once before any test, as the host's load would run
// it; every test starts from a clean user.
#include <gtest/gtest.h>
#include <headless.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "mirova.h"

namespace {

class CleanUser : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { headless::ResetRecords(); }
};

// Tests run in parallel processes; each gets a folder of its own for the
// files it writes (testing::TempDir), removed when it ends.
class PrivateTempDir {
 public:
  PrivateTempDir() {
    char name[] = "/tmp/mirova_tests_XXXXXX";
    if (mkdtemp(name)) {
      path = name;
      setenv("TEST_TMPDIR", name, 1);
    }
  }
  ~PrivateTempDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }

 private:
  std::string path;
};

}  // namespace

int main(int argc, char** argv) {
  PrivateTempDir tempDir;
  testing::InitGoogleTest(&argc, argv);
#ifdef MIROVA_TESTS_LINK_LIBRARY
  DllMain(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr);
#endif
  testing::UnitTest::GetInstance()->listeners().Append(new CleanUser);
  return RUN_ALL_TESTS();
}

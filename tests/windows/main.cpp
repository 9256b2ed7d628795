// Windows test program: the library's entry point runs first, message boxes are watched and answered, every test
// starts from a clean user, and --dialog_dump=PATH names the file where the
// dialog test writes what Windows built.
#include <windows.h>

#include <gtest/gtest.h>
#include <headless.h>

#include <cstring>
#include <string>

#include "dialog_dump.h"
#include "mirova.h"

namespace headless {
void WatchMessageBoxes();
}

namespace {

class CleanUser : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { headless::ResetRecords(); }
};

}  // namespace

std::string& DialogDumpPath() {
  static std::string path;
  return path;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const char kFlag[] = "--dialog_dump=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) == 0) DialogDumpPath() = argv[i] + sizeof kFlag - 1;
  }
  // The library is linked in, with its resources in the program, and set up
  // as the host's load of it would.
  DllMain(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr);
  headless::WatchMessageBoxes();
  testing::UnitTest::GetInstance()->listeners().Append(new CleanUser);
  return RUN_ALL_TESTS();
}

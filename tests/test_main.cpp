// Test program: the library is linked in as the host would load it (its entry
// point runs once before any test), and every test starts from a clean user.
#include <gtest/gtest.h>
#include <headless.h>

#include "mirova.h"

namespace {

class CleanUser : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { headless::ResetRecords(); }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  DllMain(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr);
  testing::UnitTest::GetInstance()->listeners().Append(new CleanUser);
  return RUN_ALL_TESTS();
}

// Output files are written whole or not at all, and what is not a regular
// file stays what it is.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "output_file.h"

namespace {

namespace fs = std::filesystem;

class OutputFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "output_file_XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    dir = pattern + "/";
  }
  void TearDown() override { fs::remove_all(dir); }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir + name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) {
    std::ifstream file(dir + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  // A memory device node of our own (minor 3 null, 7 full), so that a fault
  // can only ever replace it, never the system's.
  bool MakeDevice(const std::string& name, unsigned minor) {
    return mknod((dir + name).c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
  }
  std::set<std::string> Names() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
  }
  // Writes text through an OutputFile at name; commits when asked.
  bool Output(const std::string& name, const std::string& text, bool commit, std::string* said = nullptr) {
    cli::OutputFile file(dir + name);
    file.Stream() << text;
    std::ostringstream err;
    bool ok = commit && file.Commit(err);
    if (said) *said = err.str();
    return ok;
  }

  std::string dir;
};

TEST_F(OutputFileTest, CommitReplacesTheWholeFileAndLeavesNothingElse) {
  Write("out.json", "old");
  const std::string big(200000, 'x');  // more than one buffer's worth
  ASSERT_TRUE(Output("out.json", big + "end", true));
  EXPECT_EQ(Read("out.json"), big + "end");
  ASSERT_TRUE(Output("new.json", "fresh", true));
  EXPECT_EQ(Read("new.json"), "fresh");
  EXPECT_EQ(Names(), (std::set<std::string>{"out.json", "new.json"}));
}

TEST_F(OutputFileTest, WithoutCommitTheDestinationIsAsItWas) {
  Write("out.json", "old");
  {
    cli::OutputFile file(dir + "out.json");
    file.Stream() << "partial";
    file.Stream().flush();
    // Nothing of it shows at the destination while it is being written.
    EXPECT_EQ(Read("out.json"), "old");
  }
  EXPECT_EQ(Read("out.json"), "old");
  EXPECT_FALSE(Output("never.json", "text", false));
  EXPECT_EQ(Names(), std::set<std::string>{"out.json"});
}

TEST_F(OutputFileTest, FailuresSayWhyAndChangeNothing) {
  Write("out.json", "old");
  fs::create_directory(dir + "folder");
  const bool haveFull = MakeDevice("full", 7);
  struct Case {
    const char* name;
    std::string destination;
    const char* reason;
  } cases[] = {
      {"a folder that does not exist", "missing/out.json", "No such file or directory"},
      {"a folder", "folder", "Is a directory"},
      {"a full device", "full", "No space left on device"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.destination == "full" && !haveFull) continue;
    std::string said;
    EXPECT_FALSE(Output(c.destination, "text", true, &said));
    EXPECT_EQ(said, "mirova: cannot write " + dir + c.destination + ": " + c.reason + "\n");
  }
  EXPECT_TRUE(fs::is_directory(dir + "folder"));
  EXPECT_TRUE(fs::is_empty(dir + "folder"));
  if (haveFull) {
    EXPECT_TRUE(fs::is_character_file(dir + "full"));
  }
  EXPECT_EQ(Read("out.json"), "old");
  EXPECT_EQ(Names().size(), haveFull ? 3u : 2u);
}

TEST_F(OutputFileTest, DevicesAreWrittenInPlaceAndStayDevices) {
  if (!MakeDevice("null", 3)) GTEST_SKIP() << "cannot make a device node here";
  ASSERT_TRUE(Output("null", "text", true));
  EXPECT_TRUE(fs::is_character_file(dir + "null"));
  EXPECT_EQ(Names(), std::set<std::string>{"null"});
}

TEST_F(OutputFileTest, FifoGetsTheWholeOutputOnlyOnCommit) {
  ASSERT_EQ(mkfifo((dir + "pipe").c_str(), 0600), 0);
  // The reading end, open first so that the writer does not wait for one.
  const int reader = open((dir + "pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  char got[64] = {};
  EXPECT_FALSE(Output("pipe", "dropped", false));
  ASSERT_TRUE(Output("pipe", "whole", true));
  const ssize_t n = read(reader, got, sizeof got);
  close(reader);
  EXPECT_EQ(std::string(got, n > 0 ? static_cast<size_t>(n) : 0), "whole");
  EXPECT_TRUE(fs::is_fifo(dir + "pipe"));
}

TEST_F(OutputFileTest, KeepsTheModeAndFollowsLinks) {
  Write("shared.json", "old");
  ASSERT_EQ(chmod((dir + "shared.json").c_str(), 0640), 0);
  fs::create_symlink(dir + "shared.json", dir + "link.json");
  ASSERT_TRUE(Output("link.json", "new", true));
  EXPECT_TRUE(fs::is_symlink(dir + "link.json"));
  EXPECT_EQ(Read("shared.json"), "new");
  EXPECT_EQ(fs::status(dir + "shared.json").permissions(), fs::perms(0640));

  const mode_t mask = umask(022);
  ASSERT_TRUE(Output("made.json", "new", true));
  umask(mask);
  EXPECT_EQ(fs::status(dir + "made.json").permissions(), fs::perms(0644));
}

}  // namespace

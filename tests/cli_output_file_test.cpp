// Output files, reports and pictures alike, are written whole or not at
// all, even when the command is stopped by a signal; what is not a regular
// file stays what it is; a failure says why.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "cli.h"
#include "output_file.h"
#include "picture_file.h"

namespace {

namespace fs = std::filesystem;

// Every channel at both ends.
const headless::Image kPicture{3, 2, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF}};

std::vector<uint32_t> PngPixels(const std::string& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return {};
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return {};
  std::vector<uint32_t> pixels;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3)
    pixels.push_back((uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
  return pixels;
}

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
  // The exit status of writing the picture to name, or to "-" with
  // standard output on fd.
  int Picture(const std::string& name, std::string* said, int fd = -1) {
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    if (fd >= 0) dup2(fd, STDOUT_FILENO);
    std::ostringstream err;
    const int status = cli::WritePicture(kPicture, fd >= 0 ? "-" : dir + name, err);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    *said = err.str();
    return status;
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
      {"a folder named by .", "folder/.", "Is a directory"},
      {"a full device", "full", "No space left on device"},
  };
  for (const Case& c : cases) {
    for (const bool picture : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (picture ? ", a picture" : ", a report"));
      if (c.destination == "full" && !haveFull) continue;
      std::string said;
      const int status = picture ? Picture(c.destination, &said)
                                 : Output(c.destination, "text", true, &said) ? cli::EXIT_OK : cli::EXIT_USAGE;
      EXPECT_EQ(status, cli::EXIT_USAGE);
      EXPECT_EQ(said, "mirova: cannot write " + dir + c.destination + ": " + c.reason + "\n");
    }
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

TEST_F(OutputFileTest, KeepsTheOwnerWhereItMayAndCutsHardLinks) {
  Write("owned.json", "old");
  ASSERT_EQ(link((dir + "owned.json").c_str(), (dir + "other.json").c_str()), 0);
  const bool root = geteuid() == 0;
  ASSERT_TRUE(!root || chown((dir + "owned.json").c_str(), 1234, 5678) == 0);
  ASSERT_TRUE(Output("owned.json", "new", true));
  struct stat st;
  ASSERT_EQ(stat((dir + "owned.json").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, root ? 1234u : geteuid());
  EXPECT_EQ(st.st_gid, root ? 5678u : getegid());
  EXPECT_EQ(Read("other.json"), "old");  // replaced, not written through
}

TEST_F(OutputFileTest, AWriteStoppedByASignalLeavesTheDestinationAndNoTemporary) {
  Write("out.json", "old");
  for (const int stop : {SIGHUP, SIGINT, SIGTERM}) {
    SCOPED_TRACE(strsignal(stop));
    struct sigaction now;
    // A background job ignores Ctrl-C, and so does the command it runs.
    if (sigaction(stop, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) continue;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      cli::OutputFile file(dir + "out.json");
      file.Stream() << std::string(200000, 'x') << std::flush;
      if (write(ready[1], "w", 1) == 1)
        for (;;) pause();
      _exit(1);
    }
    close(ready[1]);
    char byte = 0;
    EXPECT_EQ(read(ready[0], &byte, 1), 1);  // the write is under way
    close(ready[0]);
    EXPECT_EQ(Names().size(), 2u);
    kill(child, stop);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == stop) << "wait status " << status;
    EXPECT_EQ(Names(), std::set<std::string>{"out.json"});
    EXPECT_EQ(Read("out.json"), "old");
  }
}

TEST_F(OutputFileTest, AWriterThatGaveUpOnAFullFileIsAWriteErrorNotARefusal) {
  Write("out.json", "old");
  // A file that may not grow past 4 KB stands for a full disk.
  struct sigaction ignore = {}, before;
  ignore.sa_handler = SIG_IGN;
  rlimit limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{4096, limit.rlim_max};
  for (const size_t size : {size_t{10}, size_t{200000}}) {
    SCOPED_TRACE(size);
    std::ostringstream out, err;
    sigaction(SIGXFSZ, &ignore, &before);
    setrlimit(RLIMIT_FSIZE, &small);
    const int status = cli::WriteReportTo(dir + "out.json", out, err, [&](std::ostream& to, std::string* problem) {
      *problem = "refused";
      return !(to << std::string(size, 'x') << std::flush);
    });
    setrlimit(RLIMIT_FSIZE, &limit);
    sigaction(SIGXFSZ, &before, nullptr);
    const bool full = size > 4096;
    EXPECT_EQ(status, full ? cli::EXIT_USAGE : cli::EXIT_REFUSED);
    EXPECT_EQ(err.str(), full ? "mirova: cannot write " + dir + "out.json: File too large\n"
                              : "mirova: " + dir + "out.json: refused\n");
    EXPECT_EQ(Names(), std::set<std::string>{"out.json"});
    EXPECT_EQ(Read("out.json"), "old");
  }
}

TEST_F(OutputFileTest, APictureComesBackPixelForPixelEvenUnderALongName) {
  const std::string name = std::string(NAME_MAX - 4, 'n') + ".png";
  std::string said;
  ASSERT_EQ(Picture(name, &said), cli::EXIT_OK) << said;
  EXPECT_EQ(PngPixels(dir + name), kPicture.pixels);
  EXPECT_EQ(Names(), std::set<std::string>{name});
}

TEST_F(OutputFileTest, APictureGoesToStandardOutputUnlessThatIsATerminal) {
  const int file = open((dir + "out.png").c_str(), O_WRONLY | O_CREAT, 0644);
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(file >= 0 && terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
  const int screen = open(ptsname(terminal), O_RDWR | O_NOCTTY);
  std::string said;
  EXPECT_EQ(Picture("-", &said, file), cli::EXIT_OK) << said;
  EXPECT_EQ(PngPixels(dir + "out.png"), kPicture.pixels);
  EXPECT_EQ(Picture("-", &said, screen), cli::EXIT_USAGE);
  EXPECT_EQ(said, "mirova: -o -: standard output is a terminal; a PNG picture goes to a file or a pipe\n");
  for (const int fd : {file, screen, terminal}) close(fd);
}

}  // namespace

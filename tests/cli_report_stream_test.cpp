// Reports stream to their destination: a report far larger than any buffer
// arrives whole, and one that fails part-way leaves the destination as it
// was, with no temporary file beside it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "cli.h"
#include "output_file.h"

namespace {

namespace fs = std::filesystem;

// A report of lines numbered from 0, large enough to pass through the
// output's buffer many times over.
std::string Report(size_t lines) {
  std::string text;
  for (size_t i = 0; i < lines; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

class ReportStream : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "report_stream_XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    dir = pattern + "/";
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Read(const std::string& name) {
    std::ifstream file(dir + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  size_t Entries() { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }

  std::string dir;
};

TEST_F(ReportStream, AReportArrivesWholeOrNotAtAll) {
  const std::string big = Report(100000);  // about 1.1 MB
  struct Case {
    const char* name;
    bool toFile;
    size_t writtenBeforeFailing;  // npos: the writer succeeds
    int status;
  };
  const size_t kNever = std::string::npos;
  const Case cases[] = {
      {"file, succeeds", true, kNever, cli::EXIT_OK},
      {"file, fails at once", true, 0, cli::EXIT_REFUSED},
      {"file, fails after most of it", true, big.size() - 10, cli::EXIT_REFUSED},
      {"standard output, succeeds", false, kNever, cli::EXIT_OK},
      {"standard output, refuses before writing", false, 0, cli::EXIT_REFUSED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(dir + "out.txt", std::ios::binary) << "what was there";
    std::ostringstream out, err;
    const int status = cli::WriteReportTo(c.toFile ? dir + "out.txt" : "", out, err,
                                          [&](std::ostream& to, std::string* problem) {
                                            if (c.writtenBeforeFailing == kNever) {
                                              to << big;
                                              return true;
                                            }
                                            to << big.substr(0, c.writtenBeforeFailing);
                                            *problem = "the report cannot be made";
                                            return false;
                                          });
    EXPECT_EQ(status, c.status);
    const bool ok = c.writtenBeforeFailing == kNever;
    EXPECT_EQ(Read("out.txt"), ok && c.toFile ? big : "what was there");
    EXPECT_EQ(out.str(), ok && !c.toFile ? big : "");
    EXPECT_EQ(Entries(), 1u) << "a temporary file was left behind";
    EXPECT_EQ(err.str().empty(), ok) << err.str();
    if (!ok) {
      EXPECT_NE(err.str().find("the report cannot be made"), std::string::npos);
    }
  }
}

TEST_F(ReportStream, ANewFileThatFailsIsNeverMade) {
  std::ostringstream out, err;
  const int status = cli::WriteReportTo(dir + "new.json", out, err, [](std::ostream& to, std::string* problem) {
    to << Report(50000);
    *problem = "no";
    return false;
  });
  EXPECT_EQ(status, cli::EXIT_REFUSED);
  EXPECT_FALSE(fs::exists(dir + "new.json"));
  EXPECT_EQ(Entries(), 0u);
}

TEST_F(ReportStream, AFifoGetsALargeReportWholeInOrderAndNothingOnFailure) {
  ASSERT_EQ(mkfifo((dir + "pipe").c_str(), 0600), 0);
  const std::string big = Report(300000);  // many times the pipe's and the buffers' size
  std::ostringstream out, err;
  // Nothing reaches the reader of a report that fails.
  const int early = open((dir + "pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(early, 0);
  EXPECT_EQ(cli::WriteReportTo(dir + "pipe", out, err,
                               [&](std::ostream& to, std::string* problem) {
                                 to << big;
                                 *problem = "no";
                                 return false;
                               }),
            cli::EXIT_REFUSED);
  char byte;
  EXPECT_LE(read(early, &byte, 1), 0);
  close(early);
  // A report that succeeds arrives whole, however large.
  std::string received;
  std::thread reader([&] {
    const int fd = open((dir + "pipe").c_str(), O_RDONLY);
    char block[4096];
    for (ssize_t n; fd >= 0 && (n = read(fd, block, sizeof block)) > 0;) received.append(block, n);
    if (fd >= 0) close(fd);
  });
  EXPECT_EQ(cli::WriteReportTo(dir + "pipe", out, err,
                               [&](std::ostream& to, std::string*) {
                                 to << big;
                                 return true;
                               }),
            cli::EXIT_OK);
  reader.join();
  EXPECT_TRUE(received == big) << received.size() << " of " << big.size() << " bytes";
  EXPECT_TRUE(fs::is_fifo(dir + "pipe"));
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace

// An output file (-o OUT) that is written whole or not at all; the one way
// every output file of the command line is written.
//
// A regular destination, or one that does not exist yet, is written to a
// hidden temporary file beside it (.mirova-XXXXXX); Commit syncs that file
// and renames it over the destination. Until then, and for good when Commit
// is never called or fails, the destination holds what it held before, and
// the temporary file is removed when the OutputFile goes, or when the
// process is stopped by SIGHUP, SIGINT, SIGQUIT, SIGTERM or SIGXFSZ (then
// the signal is raised again, so the process still dies of it). The new
// file keeps the mode, and where the process may the owner and group, of
// the one it replaces (a new one gets 0666 less the umask). A symbolic link
// is followed: the file it names is replaced, the link stays. A file with
// other hard links is replaced, not written through: the other names keep
// the old content.
//
// A destination that is not a regular file (a device such as /dev/null or
// /dev/full, a FIFO) cannot be replaced by renaming and must stay what it
// is: the output is spooled to an unnamed temporary file and copied to it in
// place by Commit, so that a command that fails writes nothing there either,
// and a large output is never held in memory.
#ifndef MIROVA_CLI_OUTPUT_FILE_H
#define MIROVA_CLI_OUTPUT_FILE_H
#include <sys/types.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace cli {

class OutputFile {
 public:
  explicit OutputFile(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Where the output goes. After a failure writes are dropped; Commit
  // reports the first one.
  std::ostream& Stream() { return stream; }

  // True once the output cannot be written whole (the destination cannot
  // be written, or a write failed): Commit will fail and say why.
  bool Failed();

  // Makes everything written the destination's content. False, with
  // "mirova: cannot write PATH: reason" on err, when it could not be
  // written whole; the destination is then as it was (a device or FIFO may
  // have taken part of it).
  bool Commit(std::ostream& err);

 private:
  class FileBuffer;
  void StartTemporary(unsigned mode, uid_t owner, gid_t group);
  void StartSpool();
  int WriteInPlace();
  int FinishTemporary();
  void RemoveTemporary();

  std::string path;    // as given, for messages
  std::string target;  // the file written: path with links followed
  std::string temporary;  // beside target; empty when writing in place or once renamed
  int entry = -1;      // the temporary's place in the signal handler's table; -1: not listed
  int fd = -1;         // the temporary's
  int error = 0;       // errno of the first failure
  std::FILE* spool = nullptr;        // what goes in place, when writing in place
  std::unique_ptr<FileBuffer> file;  // into the temporary or the spool
  std::ostream stream;
};

// Makes a report: write(to, &problem) writes it, or says why it cannot.
using ReportWriter = std::function<bool(std::ostream& to, std::string* problem)>;

// Writes the report to path through an OutputFile, or to out when path is
// empty. EXIT_OK; EXIT_REFUSED, with "mirova: [PATH: ]problem" on err, when
// the writer refused to make the report; EXIT_USAGE when path cannot be
// written (a writer that gave up because its stream failed is a write
// error too), or is "-": a report goes to standard output when -o is left
// out. An existing file at path is replaced only on EXIT_OK.
int WriteReportTo(const std::string& path, std::ostream& out, std::ostream& err, const ReportWriter& write);

}  // namespace cli

#endif

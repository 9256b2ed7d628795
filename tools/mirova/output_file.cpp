// Output files replaced by renaming a finished temporary file over them,
// with no temporary file left behind by a failure or a stopping signal.
#include "output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "cli.h"

namespace cli {

namespace {

// Writes all of data to fd: 0, or the errno of the failure.
int WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

// The file a path names once symbolic links are followed; the path itself
// when it does not name one yet.
std::string Resolved(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

unsigned NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666u & ~static_cast<unsigned>(mask);
}

// The owner and group of the file replaced, where the process may give them:
// root may; anyone may keep a group they belong to. 0, or the errno of a
// failure other than not being allowed.
int KeepOwner(int fd, uid_t owner, gid_t group) {
  if (fchown(fd, owner, group) == 0) return 0;
  if (errno == EPERM && fchown(fd, static_cast<uid_t>(-1), group) == 0) return 0;
  return errno == EPERM ? 0 : errno;
}

// The signals that stop a command by default: hang-up, Ctrl-C, Ctrl-\,
// kill, and a file grown past the size limit.
const int kStopSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGXFSZ};

// The temporary files that exist now, for the signal handler, which may
// neither allocate nor lock: a fixed table, each entry filled while it is
// kTaken and seen by the handler only once it is kLive. More outputs at once
// than entries is more than the tool ever makes; those go unlisted.
enum EntryState { kFree, kTaken, kLive };
struct LiveTemporary {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};
LiveTemporary liveTemporaries[16];

extern "C" void RemoveTemporariesAndStop(int number) {
  for (LiveTemporary& live : liveTemporaries)
    if (live.state.load() == kLive) unlink(live.path);
  // Dies of the signal as it would have without us (once this handler
  // returns and unblocks it), so that whoever waits sees it.
  signal(number, SIG_DFL);
  raise(number);
}

// Once per process. A signal ignored (nohup) or handled by someone else is
// left as it is.
void CatchStopSignals() {
  static const bool caught = [] {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = RemoveTemporariesAndStop;
    sigemptyset(&action.sa_mask);
    for (int s : kStopSignals) sigaddset(&action.sa_mask, s);
    for (int s : kStopSignals) {
      struct sigaction before;
      if (sigaction(s, nullptr, &before) == 0 && !(before.sa_flags & SA_SIGINFO) && before.sa_handler == SIG_DFL)
        sigaction(s, &action, nullptr);
    }
    return true;
  }();
  (void)caught;
}

// Holds the stop signals back in this thread while a temporary file comes or
// goes together with its entry in the table.
class StopSignalsHeld {
 public:
  StopSignalsHeld() {
    sigset_t stop;
    sigemptyset(&stop);
    for (int s : kStopSignals) sigaddset(&stop, s);
    pthread_sigmask(SIG_BLOCK, &stop, &before);
  }
  ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &before, nullptr); }

 private:
  sigset_t before;
};

// Lists a temporary file for the handler: its entry, or -1 when the table
// is full.
int ListTemporary(const std::string& name) {
  if (name.size() >= PATH_MAX) return -1;
  for (int i = 0; i < static_cast<int>(std::size(liveTemporaries)); ++i) {
    int free = kFree;
    if (!liveTemporaries[i].state.compare_exchange_strong(free, kTaken)) continue;
    std::memcpy(liveTemporaries[i].path, name.c_str(), name.size() + 1);
    liveTemporaries[i].state.store(kLive);
    return i;
  }
  return -1;
}

void UnlistTemporary(int entry) {
  if (entry >= 0) liveTemporaries[entry].state.store(kFree);
}

}  // namespace

// A stream buffer over a file descriptor that keeps the first error, so that
// Commit can say why (write(2) knows; an ofstream forgets).
class OutputFile::FileBuffer : public std::streambuf {
 public:
  explicit FileBuffer(int fd) : fd(fd) { setp(buffer, buffer + sizeof buffer); }
  int Error() const { return error; }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    if (error == 0) error = WriteAll(fd, pbase(), static_cast<size_t>(pptr() - pbase()));
    setp(buffer, buffer + sizeof buffer);
    return error == 0 ? 0 : -1;
  }

 private:
  int fd;
  int error = 0;
  char buffer[1 << 16];
};

OutputFile::OutputFile(const std::string& path) : path(path), target(Resolved(path)), stream(nullptr) {
  struct stat existing;
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    error = EISDIR;
  } else if (exists && !S_ISREG(existing.st_mode)) {
    StartSpool();
  } else if (exists) {
    StartTemporary(existing.st_mode & 07777, existing.st_uid, existing.st_gid);
  } else {
    StartTemporary(NewFileMode(), static_cast<uid_t>(-1), static_cast<gid_t>(-1));
  }
}

OutputFile::~OutputFile() {
  if (spool) std::fclose(spool);
  if (fd >= 0) close(fd);
  RemoveTemporary();
}

void OutputFile::StartTemporary(unsigned mode, uid_t owner, gid_t group) {
  CatchStopSignals();
  // A short name, so that a destination whose name is as long as a name
  // may be still has room for one beside it.
  std::string name = DirectoryOf(target) + "/.mirova-XXXXXX";
  {
    StopSignalsHeld held;
    fd = mkstemp(&name[0]);
    if (fd < 0) {
      error = errno;
      return;
    }
    temporary = name;
    entry = ListTemporary(temporary);
  }
  // Owner first: a change of owner may clear mode bits. mkstemp makes the
  // file private; the output is as readable as what it replaces, or as any
  // new file.
  if (owner != static_cast<uid_t>(-1)) error = KeepOwner(fd, owner, group);
  if (error == 0 && fchmod(fd, static_cast<mode_t>(mode)) != 0) error = errno;
  file = std::make_unique<FileBuffer>(fd);
  stream.rdbuf(file.get());
}

void OutputFile::RemoveTemporary() {
  if (temporary.empty()) return;
  StopSignalsHeld held;
  unlink(temporary.c_str());
  UnlistTemporary(entry);
  temporary.clear();
}

void OutputFile::StartSpool() {
  spool = std::tmpfile();
  if (!spool) {
    error = errno;
    return;
  }
  file = std::make_unique<FileBuffer>(fileno(spool));
  stream.rdbuf(file.get());
}

// The spool copied to the destination a block at a time.
int OutputFile::WriteInPlace() {
  const int from = fileno(spool);
  if (lseek(from, 0, SEEK_SET) != 0) return errno;
  const int out = open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (out < 0) return errno;
  int failure = 0;
  char block[1 << 16];
  for (ssize_t n; failure == 0 && (n = read(from, block, sizeof block)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    failure = n < 0 ? errno : WriteAll(out, block, static_cast<size_t>(n));
  }
  if (close(out) != 0 && failure == 0) failure = errno;
  return failure;
}

int OutputFile::FinishTemporary() {
  // Synced before the rename, so that a crash cannot leave the destination
  // renamed but empty.
  int failure = fsync(fd) != 0 ? errno : 0;
  if (close(fd) != 0 && failure == 0) failure = errno;
  fd = -1;
  if (failure != 0) return failure;
  StopSignalsHeld held;
  if (rename(temporary.c_str(), target.c_str()) != 0) return errno;
  UnlistTemporary(entry);
  temporary.clear();
  return 0;
}

bool OutputFile::Failed() {
  stream.flush();
  if (error == 0 && file) error = file->Error();
  return error != 0;
}

bool OutputFile::Commit(std::ostream& err) {
  if (!Failed() && !stream) error = EIO;
  if (error == 0) error = spool ? WriteInPlace() : FinishTemporary();
  if (error == 0) return true;
  err << "mirova: cannot write " << path << ": " << std::strerror(error) << "\n";
  return false;
}

int WriteReportTo(const std::string& path, std::ostream& out, std::ostream& err, const ReportWriter& write) {
  std::string problem;
  if (path == "-") {
    err << "mirova: -o - names no file: a report goes to standard output when -o is left out\n";
    return EXIT_USAGE;
  }
  if (path.empty()) {
    if (write(out, &problem)) return EXIT_OK;
    err << "mirova: " << problem << "\n";
    return EXIT_REFUSED;
  }
  OutputFile file(path);
  // A writer that gave up because the file could not take it did not
  // refuse the report: that is a write error, with its reason.
  if (!write(file.Stream(), &problem) && !file.Failed()) {
    err << "mirova: " << path << ": " << problem << "\n";
    return EXIT_REFUSED;
  }
  return file.Commit(err) ? EXIT_OK : EXIT_USAGE;
}

}  // namespace cli

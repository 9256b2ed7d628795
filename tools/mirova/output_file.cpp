// Output files replaced by renaming a finished temporary file over them.
#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

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
  } else {
    StartTemporary(exists ? existing.st_mode & 07777 : NewFileMode());
  }
}

OutputFile::~OutputFile() {
  if (spool) std::fclose(spool);
  if (fd >= 0) close(fd);
  if (!temporary.empty()) unlink(temporary.c_str());
}

void OutputFile::StartTemporary(unsigned mode) {
  std::string name = DirectoryOf(target) + "/.mirova-XXXXXX";
  fd = mkstemp(&name[0]);
  if (fd < 0) {
    error = errno;
    return;
  }
  temporary = name;
  // mkstemp makes the file private; the output is as readable as what it
  // replaces, or as any new file.
  if (fchmod(fd, static_cast<mode_t>(mode)) != 0) error = errno;
  file = std::make_unique<FileBuffer>(fd);
  stream.rdbuf(file.get());
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
  if (failure == 0 && rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
  if (failure == 0) temporary.clear();
  return failure;
}

bool OutputFile::Commit(std::ostream& err) {
  stream.flush();
  if (error == 0 && file) error = file->Error();
  if (error == 0 && !stream) error = EIO;
  if (error == 0) error = spool ? WriteInPlace() : FinishTemporary();
  if (error == 0) return true;
  err << "mirova: cannot write " << path << ": " << std::strerror(error) << "\n";
  return false;
}

int WriteReportTo(const std::string& path, std::ostream& out, std::ostream& err, const ReportWriter& write) {
  std::string problem;
  if (path.empty()) {
    if (write(out, &problem)) return EXIT_OK;
    err << "mirova: " << problem << "\n";
    return EXIT_REFUSED;
  }
  OutputFile file(path);
  if (!write(file.Stream(), &problem)) {
    err << "mirova: " << path << ": " << problem << "\n";
    return EXIT_REFUSED;
  }
  return file.Commit(err) ? EXIT_OK : EXIT_USAGE;
}

}  // namespace cli

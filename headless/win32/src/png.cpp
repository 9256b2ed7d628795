// PNG files through libpng, written beside the target and renamed over it,
// so that a file is either whole or untouched.
#include <headless_gdi.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool Fail(std::string* problem, const std::string& why) {
  if (problem) *problem = why;
  return false;
}

std::vector<png_byte> RgbRows(const headless::Image& image) {
  std::vector<png_byte> rgb(image.pixels.size() * 3);
  png_byte* out = rgb.data();
  for (uint32_t p : image.pixels) {
    *out++ = static_cast<png_byte>(p >> 16);
    *out++ = static_cast<png_byte>(p >> 8);
    *out++ = static_cast<png_byte>(p);
  }
  return rgb;
}

// Writes the image into an open file; false with libpng's message.
bool WritePng(const headless::Image& image, FILE* file, std::string* problem) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  // A picture is written for every frame of a take: unfiltered rows and
  // quicker compression write one in a third of the time, for files up to a
  // sixth larger (the pixels are the same).
  png.flags = PNG_IMAGE_FLAG_FAST;
  std::vector<png_byte> rgb = RgbRows(image);
  if (!png_image_write_to_stdio(&png, file, 0, rgb.data(), 0, nullptr))
    return Fail(problem, png.message);
  return true;
}

mode_t CreationMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Where the picture really goes: through a symbolic link to its target.
std::string Destination(const std::string& path) {
  struct stat st;
  char resolved[PATH_MAX];
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && realpath(path.c_str(), resolved))
    return resolved;
  return path;
}

// Closes the file, telling whether everything written reached it.
bool Finish(FILE* file, const std::string& path, bool written, std::string* problem) {
  int flushError = std::fflush(file) != 0 || std::ferror(file) ? errno : 0;
  bool closed = std::fclose(file) == 0;
  if (written && (flushError || !closed))
    return Fail(problem, path + ": " + std::strerror(flushError ? flushError : errno));
  return written;
}

// A device or pipe is written in place: it cannot be replaced.
bool SaveInPlace(const headless::Image& image, const std::string& path, std::string* problem) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return Fail(problem, path + ": " + std::strerror(errno));
  return Finish(file, path, WritePng(image, file, problem), problem);
}

}  // namespace

bool headless::SavePng(const Image& image, const std::string& path, std::string* problem) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height)
    return Fail(problem, "the picture is empty");
  std::string target = Destination(path);
  struct stat st;
  bool exists = stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return SaveInPlace(image, target, problem);
  std::string temporary = target + ".XXXXXX";
  int fd = mkstemp(&temporary[0]);
  if (fd < 0) return Fail(problem, path + ": " + std::strerror(errno));
  // A replaced file keeps its permissions; a new one gets the usual ones.
  fchmod(fd, exists && S_ISREG(st.st_mode) ? (st.st_mode & 07777) : CreationMode());
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    std::remove(temporary.c_str());
    return Fail(problem, path + ": " + std::strerror(errno));
  }
  bool written = Finish(file, path, WritePng(image, file, problem), problem);
  if (written && std::rename(temporary.c_str(), target.c_str()) != 0)
    written = Fail(problem, path + ": " + std::strerror(errno));
  if (!written) std::remove(temporary.c_str());
  return written;
}

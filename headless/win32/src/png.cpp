// Pictures encoded as PNG in memory through libpng; where the bytes go, and
// how a file is replaced, is the caller's business.
#include <headless_gdi.h>
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

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

}  // namespace

bool headless::EncodePng(const Image& image, std::string* bytes, std::string* problem) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
    *problem = "the picture is empty or not whole";
    return false;
  }
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
  const std::vector<png_byte> rgb = RgbRows(image);
  // Into a stream in memory that grows as libpng writes: the picture is
  // encoded once, and only as much memory as the PNG takes is touched.
  char* memory = nullptr;
  size_t size = 0;
  FILE* stream = open_memstream(&memory, &size);
  if (!stream) {
    *problem = std::strerror(errno);
    return false;
  }
  const bool encoded = png_image_write_to_stdio(&png, stream, 0, rgb.data(), 0, nullptr);
  const bool closed = std::fclose(stream) == 0;
  if (encoded && closed) bytes->assign(memory, size);
  std::free(memory);
  if (!encoded) *problem = png.message;
  else if (!closed) *problem = "out of memory";
  return encoded && closed;
}

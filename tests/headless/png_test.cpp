// Pictures encoded as PNG, read back with libpng pixel for pixel; a picture
// that cannot be encoded is refused. (Writing them to files is the command
// line's, tested with its output files.)
#include <gtest/gtest.h>
#include <headless.h>
#include <png.h>

#include <cstring>
#include <string>

namespace {

headless::Image Decode(const std::string& bytes) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  headless::Image image;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return image;
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return image;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3)
    image.pixels.push_back((uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
  return image;
}

// Every pixel different, every channel used.
headless::Image Gradient(int width, int height) {
  headless::Image image{width, height, {}};
  for (uint32_t i = 0; i < static_cast<uint32_t>(width * height); ++i)
    image.pixels.push_back((i * 0x030507u + 0x100000u) & 0xFFFFFFu);
  image.pixels.back() = 0xFFFFFF;
  return image;
}

TEST(Png, APictureComesBackPixelForPixel) {
  const struct Case {
    const char* name;
    headless::Image image;
  } cases[] = {
      {"one pixel", {1, 1, {0x123456}}},
      {"odd sizes", Gradient(7, 5)},
      {"one long row", Gradient(700, 1)},
      {"one tall column", Gradient(1, 700)},
      {"a view's size", Gradient(400, 300)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string png, problem;
    ASSERT_TRUE(headless::EncodePng(c.image, &png, &problem)) << problem;
    const headless::Image back = Decode(png);
    EXPECT_EQ(back.width, c.image.width);
    EXPECT_EQ(back.height, c.image.height);
    EXPECT_TRUE(back.pixels == c.image.pixels);
  }
}

TEST(Png, APictureThatIsNotWholeIsRefused) {
  const struct Case {
    const char* name;
    headless::Image image;
  } cases[] = {
      {"empty", headless::Image{}},
      {"no rows", {4, 0, {}}},
      {"pixels missing", {3, 3, {1, 2}}},
      {"pixels to spare", {1, 1, {1, 2}}},
      {"negative size", {-1, -1, {1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string png, problem;
    EXPECT_FALSE(headless::EncodePng(c.image, &png, &problem));
    EXPECT_EQ(problem, "the picture is empty or not whole");
  }
}

}  // namespace

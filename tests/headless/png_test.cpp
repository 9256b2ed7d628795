// Pictures saved as PNG, read back with libpng; a failed save leaves what
// was there.
#include <gtest/gtest.h>
#include <headless.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>

namespace {

headless::Image ReadPng(const std::string& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  headless::Image image;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return image;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3)
    image.pixels.push_back((uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
  return image;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int EntriesIn(const std::string& dir) {
  int n = 0;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) ++n;
    closedir(d);
  }
  return n;
}

class Png : public testing::Test {
 protected:
  std::string dir;
  void SetUp() override {
    char pattern[] = "/tmp/png_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::string command = "rm -rf '" + dir + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
};

TEST_F(Png, APictureComesBackPixelForPixel) {
  headless::Image image;
  image.width = 7;
  image.height = 5;
  for (int i = 0; i < 35; ++i) image.pixels.push_back(static_cast<uint32_t>(i * 0x030507 + 0x100000));
  image.pixels[34] = 0xFFFFFF;
  std::string path = dir + "/picture.png";
  std::string problem;
  ASSERT_TRUE(headless::SavePng(image, path, &problem)) << problem;
  headless::Image back = ReadPng(path);
  EXPECT_EQ(back.width, 7);
  EXPECT_EQ(back.height, 5);
  EXPECT_EQ(back.pixels, image.pixels);
  EXPECT_EQ(EntriesIn(dir), 1);  // no temporary left beside it
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IRGRP, 0u);  // made as an ordinary file, not a private temporary
}

TEST_F(Png, AFailedSaveLeavesWhatWasThere) {
  headless::Image good;
  good.width = good.height = 2;
  good.pixels = {1, 2, 3, 4};
  std::string existing = dir + "/kept.png";
  {
    std::ofstream out(existing);
    out << "old contents";
  }
  struct Case {
    const char* name;
    headless::Image image;
    std::string path;
  } const cases[] = {
      {"empty picture", headless::Image{}, existing},
      {"pixels missing", headless::Image{3, 3, {1, 2}}, existing},
      {"no such folder", good, dir + "/missing/out.png"},
      {"a folder in the way", good, dir},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string problem;
    EXPECT_FALSE(headless::SavePng(c.image, c.path, &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(Contents(existing), "old contents");
    EXPECT_EQ(EntriesIn(dir), 1);
  }
  EXPECT_TRUE(headless::SavePng(good, existing, nullptr));  // and a good one replaces it
  EXPECT_EQ(ReadPng(existing).pixels, good.pixels);
}

TEST_F(Png, AReplacedFileKeepsItsPermissionsAndALinkIsFollowed) {
  headless::Image image{1, 1, {0x123456}};
  std::string target = dir + "/target.png", link = dir + "/link.png";
  {
    std::ofstream out(target);
    out << "old";
  }
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  ASSERT_TRUE(headless::SavePng(image, link, nullptr));
  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadPng(target).pixels, image.pixels);
  EXPECT_EQ(EntriesIn(dir), 2);
  // A device is written in place and stays a device.
  EXPECT_TRUE(headless::SavePng(image, "/dev/null", nullptr));
  ASSERT_EQ(stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

}  // namespace

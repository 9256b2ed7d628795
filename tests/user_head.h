// A head modelled elsewhere, as artists bring one: texture coordinates,
// normals (one per side, shared by its corners, as exporters write them),
// two materials in groups, smoothing on and off, corners of every form; and
// OBJ files read back with tinyobjloader.
#ifndef MIROVA_TESTS_USER_HEAD_H
#define MIROVA_TESTS_USER_HEAD_H
#include <gtest/gtest.h>
#include <tiny_obj_loader.h>

#include <fstream>
#include <string>
#include <vector>

namespace user_head {

const char kObj[] = R"(# a head of the user's own
mtllib head.mtl
o Head
v -1 -1 -1
v 1 -1 -1
v 1 1 -1
v -1 1 -1
v -1 -1 1
v 1 -1 1
v 1 1 1
v -1 1 1
vt 0 0
vt 1 0
vt 1 1
vt 0 1
vt 0.5 0.25
vn 0 0 -1
vn 0 0 1
vn -1 0 0
vn 1 0 0
vn 0 -1 0
vn 0 1 0
g skin
usemtl skin
s 1
f 1/1/1 4/4/1 3/3/1 2/2/1
f 5/1/2 6/2/2 7/3/2 8/4/2
f 1/1/3 5/2/3 8/3/3 4/4/3
f 2/1/4 3/2/4 7/3/4 6/4/4
f 4//6 8//6 7//6 3//6
g lips
usemtl lips
s off
f 1/1/5 2/2/5 6/5/5
f 1/5 6/3 5/4
)";

const char kMtl[] = R"(newmtl skin
Kd 0.8 0.6 0.5
map_Kd skin tex.png
newmtl lips
Kd 0.7 0.2 0.3
d 0.5
)";

// The skin's texture: one pixel of PNG.
const char kTexture[] =
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x02"
    "\x00\x00\x00\x90\x77\x53\xde\x00\x00\x00\x0c\x49\x44\x41\x54\x78\x9c\x63\x38\x33\xb3\x01\x00\x04\x1a\x01"
    "\xe6\x0b\xec\xba\xd4\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";

// Writes head.obj, head.mtl and its texture into folder (ending in '/');
// the OBJ's path.
inline std::string Write(const std::string& folder) {
  std::ofstream(folder + "head.obj", std::ios::binary) << kObj;
  std::ofstream(folder + "head.mtl", std::ios::binary) << kMtl;
  std::ofstream(folder + "skin tex.png", std::ios::binary).write(kTexture, sizeof kTexture - 1);
  return folder + "head.obj";
}

// An OBJ file as tinyobjloader reads it, polygons kept whole and material
// libraries found beside it.
struct Read {
  tinyobj::attrib_t attrib;
  std::vector<tinyobj::shape_t> shapes;
  std::vector<tinyobj::material_t> materials;
};

inline Read ReadObj(const std::string& path) {
  Read read;
  std::string warning, error;
  const std::string folder = path.substr(0, path.find_last_of('/') + 1);
  EXPECT_TRUE(tinyobj::LoadObj(&read.attrib, &read.shapes, &read.materials, &warning, &error, path.c_str(),
                               folder.c_str(), false))
      << error;
  return read;
}

}  // namespace user_head

#endif

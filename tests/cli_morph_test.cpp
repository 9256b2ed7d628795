// mirova morph, called as the command line calls it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "cli.h"
#include "cli_command.h"
#include "gltf_check.h"
#include "obj_file.h"
#include "report_json.h"
#include "user_head.h"

namespace {

struct CliRun {
  int status;
  std::string out, err;
};

class MorphTest : public testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TempDir();
    Write("neutral.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    Write("open.obj", "v 0 0 2\nv 1 0 2\nv 1 1 2\nv 0 1 2\nf 1 2 3 4\n");
    Write("lid.obj", "v 0 -1 0\nv 1 -1 0\nv 1 0 0\nv 0 0 0\nf 1 2 3 4\n");
    Write("short.obj", "v 0 0 2\nv 1 0 2\nv 1 1 2\nf 1 2 3\n");
    std::remove(Path("out.obj").c_str());
  }
  std::string Path(const std::string& name) { return dir + name; }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  CliRun Morph(cli::Args args) {
    std::ostringstream out, err;
    int status = RunCli("morph", args, out, err);
    return {status, out.str(), err.str()};
  }
  // What a morph of the four-point quad at tick 160 reports.
  static report_json::Json Report(const std::string& output) {
    return {{"output", output}, {"points", 4}, {"faces", 1}, {"time", 160}, {"messages", report_json::Json::array()}};
  }
  cli::ObjMesh Result() {
    cli::ObjMesh mesh;
    std::string error;
    EXPECT_TRUE(cli::ReadObj(Path("out.obj"), mesh, &error)) << error;
    return mesh;
  }
  std::string dir;
};

TEST_F(MorphTest, BlendsTheNamedTargetsByPercent) {
  struct Case {
    const char* name;
    cli::Args extra;
    Point3 first;
  } cases[] = {
      {"creation values show the Neutral", {"--target", "open=" + Path("open.obj")}, Point3(0, 0, 0)},
      {"half open", {"--target", "open=" + Path("open.obj"), "--set", "Mouth Vertical=50"}, Point3(0, 0, 1)},
      {"an eyelid at 0 % is closed", {"--target", "left-eyelid=" + Path("lid.obj"), "--set", "Left Eyelid=0"},
       Point3(0, -1, 0)},
      {"frown scale in percent", {"--target", "frown=" + Path("open.obj"), "--set", "Frown=50", "--set",
                                  "Scale: Frown=200"},
       Point3(0, 0, 2)},
      {"two targets add", {"--target", "open=" + Path("open.obj"), "--target", "right-eyelid=" + Path("lid.obj"),
                           "--set", "Mouth Vertical=100", "--set", "Right Eyelid=50"},
       Point3(0, -0.5f, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cli::Args args = {"--neutral", Path("neutral.obj"), "-o", Path("out.obj"), "--time", "160"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    CliRun run = Morph(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(report_json::Read(run.out, report_json::MorphReport()), Report(Path("out.obj")));
    cli::ObjMesh mesh = Result();
    ASSERT_EQ(mesh.points.size(), 4u);
    EXPECT_TRUE(mesh.points[0].Equals(c.first));
    // The Neutral's own face, a quad, comes back as it was.
    EXPECT_EQ(mesh.polygons, (std::vector<std::vector<int>>{{0, 1, 2, 3}}));
  }
}

TEST_F(MorphTest, TargetOfAnotherPointCountIsRefused) {
  for (const char* method : {"instance", "move"}) {
    SCOPED_TRACE(method);
    Write("out.obj", "kept\n");
    CliRun run = Morph({"--neutral", Path("neutral.obj"), "--target", "open=" + Path("open.obj"), "--target",
                        "puckered=" + Path("short.obj"), "--method", method, "-o", Path("out.obj")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "mirova: the puckered target " + Path("short.obj") + " has 3 points, the Neutral has 4\n");
    EXPECT_EQ(run.out, "");
    std::ifstream kept(Path("out.obj"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept\n");
  }
}

// However the targets are picked, the face blends the same.
TEST_F(MorphTest, EveryPickMethodGivesTheSameFace) {
  for (const char* method : {"copy", "reference", "instance", "move"}) {
    SCOPED_TRACE(method);
    CliRun run = Morph({"--neutral", Path("neutral.obj"), "--method", method, "--target", "open=" + Path("open.obj"),
                        "--target", "left-eyelid=" + Path("lid.obj"), "--set", "Mouth Vertical=50", "--set",
                        "Left Eyelid=50", "-o", Path("out.obj")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    cli::ObjMesh mesh = Result();
    ASSERT_EQ(mesh.points.size(), 4u);
    EXPECT_TRUE(mesh.points[0].Equals(Point3(0, -0.5f, 1))) << mesh.points[0].x << " " << mesh.points[0].y;
  }
}

// A value past a spinner's range is what the spinner makes of it.
TEST_F(MorphTest, SpinnersClampWhatIsTyped) {
  struct Case {
    const char* setting;
    const char* says;
    float z;
  } cases[] = {
      {"Mouth Vertical=150", "mirova: Mouth Vertical=150 is outside the spinner's range 0 to 100; 100 was used\n",
       2.0f},
      {"Mouth Vertical=-20", "mirova: Mouth Vertical=-20 is outside the spinner's range 0 to 100; 0 was used\n",
       0.0f},
      {"Scale: Mouth Vertical=-100", "", -2.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    CliRun run = Morph({"--neutral", Path("neutral.obj"), "--target", "open=" + Path("open.obj"), "--set",
                        "Mouth Vertical=100", "--set", c.setting, "-o", Path("out.obj")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, c.says);
    EXPECT_FLOAT_EQ(Result().points.at(0).z, c.z);
  }
}

TEST_F(MorphTest, BadCommandLinesAreUsageErrors) {
  std::string n = Path("neutral.obj"), o = Path("out.obj");
  struct Case {
    const char* name;
    cli::Args args;
    const char* says;
  } cases[] = {
      {"nothing", {}, "required"},
      {"no output", {"--neutral", n}, "required"},
      {"missing value", {"--neutral", n, "-o"}, "-o wants a value"},
      {"unknown option", {"--neutral", n, "-o", o, "--fps", "3"}, "unknown option --fps"},
      {"unknown target", {"--neutral", n, "-o", o, "--target", "nose=" + n}, "--target wants"},
      {"the Neutral is no --target", {"--neutral", n, "-o", o, "--target", "neutral=" + n}, "--target wants"},
      {"setting without a value", {"--neutral", n, "-o", o, "--set", "Frown"}, "--set wants"},
      {"percent not a number", {"--neutral", n, "-o", o, "--set", "Frown=lots"}, "--set wants"},
      {"unknown parameter", {"--neutral", n, "-o", o, "--set", "Nose=5"}, "no parameter is called \"Nose\""},
      {"time not ticks", {"--neutral", n, "-o", o, "--time", "1.5"}, "--time wants"},
      {"unknown method", {"--neutral", n, "-o", o, "--method", "sideways"}, "--method wants"},
      {"unreadable neutral", {"--neutral", Path("missing.obj"), "-o", o}, "missing.obj"},
      {"unreadable target", {"--neutral", n, "-o", o, "--target", "open=" + Path("missing.obj")}, "missing.obj"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = Morph(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
}

// What the parser would misread is refused where it is, alike in a file and
// in text; what it reads right is taken whole.
TEST_F(MorphTest, ObjTextIsCheckedBeforeItIsParsed) {
  using namespace std::string_literals;
  const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  struct Case {
    std::string name, text;
    std::string refusal;  // how the error starts after "FILE:"; "" when the file is read
    std::vector<std::vector<int>> polygons;
  };
  std::vector<Case> cases = {
      {"UTF-8 names and comments", "# Gesicht \xC3\xA4\no Kopf\xE2\x80\x99s\n" + tri + "f 1 2 3\n", "", {{0, 1, 2}}},
      {"a byte-order mark keeps the first vertex", "\xEF\xBB\xBF" + tri + "f 1 2 3\n", "", {{0, 1, 2}}},
      {"every corner form, signs, leading zeros", tri + "vt 0 0\nvn 0 0 1\nf 1/1/1 +2/-1 -1//1\nf 001 2 3\n", "",
       {{0, 1, 2}, {0, 1, 2}}},
      {"a face before its vertices", "f 1 2 3\n" + tri, "", {{0, 1, 2}}},
      {"lines of blanks", tri + " \n\t\r\nf 1 2 3\n  ", "", {{0, 1, 2}}},
      {"a zero byte after CR LF lines", "v 0 0 0\r\nv 1 0 0\r\n\0"s, "3: holds a zero byte", {}},
      {"a control byte after a lone CR", "v 0 0 0\r\x1b[0m", "2: holds control byte 0x1b", {}},
      {"DEL", "# \x7f\n", "1: holds control byte 0x7f", {}},
      {"an index past an int", tri + "f 1 2 4294967299\n",
       "4: face corner \"4294967299\" names a vertex the file does not have: it has 3", {}},
      {"the same after a '+'", tri + "f 1 2 +4294967299\n", "4: face corner \"+4294967299\" names a vertex", {}},
      {"the same in v/vt/vn", tri + "vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 4294967299/1/1\n",
       "6: face corner \"4294967299/1/1\" names a vertex", {}},
      {"a relative index past an int", tri + "f 1 2 -4294967295\n",
       "4: face corner \"-4294967295\" names a vertex the file does not have: 3 come before its line", {}},
      {"a relative index before the first vertex", "v 0 0 0\nf -2 1 1\n" + tri, "2: face corner \"-2\"", {}},
      {"index 0", tri + "f 0 1 2\n", "4: face corner \"0\" names vertex 0: OBJ counts them from 1", {}},
      {"the farthest vertex past the last", "f 1 2 9\n" + tri + "f 1 2 7\n",
       "1: face corner \"9\" names a vertex the file does not have: it has 3", {}},
      {"a texture index past an int", tri + "f 1/4294967297 2 3\n",
       "4: face corner \"1/4294967297\" has a texture or normal index of 0 or past an int", {}},
      {"a texture coordinate past the file's", tri + "vt 0 0\nf 1/1 2/2 3/1\n",
       "5: face corner \"2/2\" names a texture coordinate the file does not have: it has 1", {}},
      {"a normal back before the first", tri + "vn 0 0 1\nf 1//1 2//-2 3//1\n",
       "5: face corner \"2//-2\" names a normal the file does not have: 1 come before its line", {}},
      {"a normal of two coordinates", tri + "vn 0 1\nf 1 2 3\n", "4: a normal needs three coordinates", {}},
      {"a texture coordinate that is no number", tri + "vt 0.5 nan\nf 1 2 3\n",
       "4: texture coordinate \"nan\" is not a finite number", {}},
      {"texture coordinates of u alone and of u v w", tri + "vt 0.5\nvt 0 1 0\nf 1/1 2/2 3/1\n", "", {{0, 1, 2}}},
  };
  for (const char* corner : {"3x", "1/2/3/4", "1/", "1//", "-", "#", "0x1", "1\v"})
    cases.push_back({corner, tri + "f 1 2 " + corner + " 3\n",
                     "4: face corner \""s + corner + "\" is not v, v/vt, v//vn or v/vt/vn in whole numbers", {}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write("t.obj", c.text);
    cli::ObjMesh fromFile, fromText;
    std::string fileError, textError;
    const bool read = cli::ReadObj(Path("t.obj"), fromFile, &fileError);
    EXPECT_EQ(cli::ReadObjText(Path("t.obj"), c.text, fromText, &textError), read);
    EXPECT_EQ(textError, fileError);
    if (c.refusal.empty()) {
      EXPECT_TRUE(read) << fileError;
      EXPECT_EQ(fromFile.points.size(), 3u);
      EXPECT_EQ(fromFile.polygons, c.polygons);
    } else {
      EXPECT_FALSE(read);
      EXPECT_EQ(fileError.substr(0, Path("t.obj:").size() + c.refusal.size()), Path("t.obj:") + c.refusal);
    }
  }
}

// The line of a byte past the first block read is counted over every block,
// with a CR LF split between two of them.
TEST_F(MorphTest, ObjLinesAreCountedAcrossReadBlocks) {
  std::string text = "# mesh\r\n";  // puts a CR at byte 65535 and its LF at 65536
  for (int i = 0; i < 10000; ++i) text += "v 0 0 0\r\n";
  Write("long.obj", text + "\x01");
  cli::ObjMesh mesh;
  std::string error;
  EXPECT_FALSE(cli::ReadObj(Path("long.obj"), mesh, &error));
  EXPECT_EQ(error, Path("long.obj") + ":10002: holds control byte 0x01: an OBJ file is plain text (is it a mesh?)");
}

// The glTF holds the Neutral and what each target adds, weighted as set: a
// viewer shows the same face as the OBJ of the same settings.
TEST_F(MorphTest, GltfHoldsTheTargetsAndTheSetWeights) {
  const cli::Args settings = {"--neutral", Path("neutral.obj"), "--target", "left-eyelid=" + Path("lid.obj"),
                              "--target", "open=" + Path("open.obj"), "--set", "Mouth Vertical=50",
                              "--set", "Left Eyelid=20", "--time", "160"};
  cli::Args toObj = settings;
  toObj.insert(toObj.end(), {"-o", Path("out.obj")});
  ASSERT_EQ(Morph(toObj).status, 0);
  cli::ObjMesh blended = Result();
  std::vector<float> shown;
  for (const Point3& p : blended.points) shown.insert(shown.end(), {p.x, p.y, p.z});

  for (const char* name : {"out.glb", "out.gltf"}) {
    SCOPED_TRACE(name);
    cli::Args args = settings;
    args.insert(args.end(), {"-o", Path(name)});
    CliRun run = Morph(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(report_json::Read(run.out, report_json::MorphReport()), Report(Path(name)));
    EXPECT_TRUE(gltf_check::PassesValidator(Path(name)));
    gltf_check::MorphFace face;
    ASSERT_TRUE(gltf_check::ReadMorphFace(Path(name), &face));
    std::remove(Path(name).c_str());
    EXPECT_EQ(face.points, (std::vector<float>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));
    EXPECT_EQ(face.indices, (std::vector<unsigned>{0, 1, 2, 0, 2, 3}));
    // In target order, named as the host lists their channels; the eyelid is
    // an openness, so 20 % open weighs 0.8.
    EXPECT_EQ(face.names, (std::vector<std::string>{"Mouth Vertical", "Left Eyelid"}));
    ASSERT_EQ(face.deltas.size(), 2u);
    EXPECT_EQ(face.deltas[0], (std::vector<float>{0, 0, 2, 0, 0, 2, 0, 0, 2, 0, 0, 2}));
    EXPECT_EQ(face.deltas[1], (std::vector<float>{0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0}));
    ASSERT_EQ(face.weights.size(), 2u);
    EXPECT_FLOAT_EQ(face.weights[0], 0.5f);
    EXPECT_FLOAT_EQ(face.weights[1], 0.8f);
    EXPECT_TRUE(face.seconds.empty());
    std::vector<float> viewed = gltf_check::Blend(face, face.weights);
    ASSERT_EQ(viewed.size(), shown.size());
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_NEAR(viewed[i], shown[i], 1e-6) << i;
  }
}

// Corners as tinyobjloader reads them: vertex, texture coordinate and normal.
std::vector<std::vector<int>> CornersOf(const tinyobj::shape_t& shape) {
  std::vector<std::vector<int>> corners;
  for (const tinyobj::index_t& i : shape.mesh.indices)
    corners.push_back({i.vertex_index, i.texcoord_index, i.normal_index});
  return corners;
}

// The head comes back from a blend that moves nothing as it went in: the
// same data, groups, materials and smoothing, read by another reader.
TEST_F(MorphTest, TheUsersHeadComesBackWhole) {
  const std::string head = user_head::Write(dir);
  std::string moved = user_head::kObj;
  Write("moved.obj", moved.replace(moved.find("v -1 -1 -1"), 10, "v -1 -1 -3"));
  CliRun run = Morph({"--neutral", head, "--target", "open=" + Path("moved.obj"), "-o", Path("out.obj")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const user_head::Read in = user_head::ReadObj(head), out = user_head::ReadObj(Path("out.obj"));
  EXPECT_EQ(out.attrib.vertices, in.attrib.vertices);
  EXPECT_EQ(out.attrib.texcoords, in.attrib.texcoords);
  EXPECT_EQ(out.attrib.normals, in.attrib.normals);
  ASSERT_EQ(out.shapes.size(), in.shapes.size());
  ASSERT_EQ(in.shapes.size(), 2u);
  for (size_t i = 0; i < in.shapes.size(); ++i) {
    SCOPED_TRACE(in.shapes[i].name);
    EXPECT_EQ(out.shapes[i].name, in.shapes[i].name);
    EXPECT_EQ(out.shapes[i].mesh.num_face_vertices, in.shapes[i].mesh.num_face_vertices);
    EXPECT_EQ(CornersOf(out.shapes[i]), CornersOf(in.shapes[i]));
    EXPECT_EQ(out.shapes[i].mesh.material_ids, in.shapes[i].mesh.material_ids);
    EXPECT_EQ(out.shapes[i].mesh.smoothing_group_ids, in.shapes[i].mesh.smoothing_group_ids);
  }
  ASSERT_EQ(out.materials.size(), 2u);
  EXPECT_EQ(out.materials[0].name, "skin");
  EXPECT_EQ(out.materials[1].name, "lips");
}

// A normal turns with the surface it lies on; one whose corners turn apart
// is written once for each way they turn.
TEST_F(MorphTest, NormalsTurnWithTheBlendedSurface) {
  // Two squares in the XY plane, every corner naming one tilted normal;
  // those listed in turned take a quarter turn about X, (x, y, z) to (x, -z, y).
  auto squares = [](std::vector<int> turned) {
    std::ostringstream text;
    for (int square = 0; square < 2; ++square) {
      const bool turns = std::find(turned.begin(), turned.end(), square) != turned.end();
      for (const Point3& p : {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)})
        text << "v " << p.x + 2 * square << " " << (turns ? -p.z : p.y) << " " << (turns ? p.y : p.z) << "\n";
    }
    text << "vn 0 0.6 0.8\nf 1//1 2//1 3//1 4//1\nf 5//1 6//1 7//1 8//1\n";
    return text.str();
  };
  const Point3 n(0, 0.6f, 0.8f), t(0, -0.8f, 0.6f);
  struct Case {
    const char* name;
    std::vector<int> turned;
    std::vector<Point3> normals;
    int secondSquaresNormal;
  } cases[] = {
      {"both turn", {0, 1}, {t}, 0},
      {"one turns", {1}, {n, t}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write("squares.obj", squares({}));
    Write("turned.obj", squares(c.turned));
    CliRun run = Morph({"--neutral", Path("squares.obj"), "--target", "open=" + Path("turned.obj"), "--set",
                        "Mouth Vertical=100", "-o", Path("out.obj")});
    ASSERT_EQ(run.status, 0) << run.err;
    const user_head::Read out = user_head::ReadObj(Path("out.obj"));
    ASSERT_EQ(out.attrib.normals.size(), c.normals.size() * 3);
    for (size_t i = 0; i < c.normals.size(); ++i)
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(out.attrib.normals[i * 3 + k], c.normals[i][k], 1e-6) << i;
    const std::vector<std::vector<int>> corners = CornersOf(out.shapes.at(0));
    ASSERT_EQ(corners.size(), 8u);
    for (int corner = 0; corner < 4; ++corner) {
      EXPECT_EQ(corners[corner][2], 0);
      EXPECT_EQ(corners[4 + corner][2], c.secondSquaresNormal);
    }
  }
}

// glTF gives a vertex one normal: a point becomes as many vertices as its
// corners want, smooth across polygons unless the file makes the edge hard
// (smoothing off, another group, normals of its own); a texture seam splits
// it without breaking the smoothing.
TEST_F(MorphTest, GltfNormalsAreSmoothUnlessTheFileSaysOtherwise) {
  // Two squares meeting at a right angle on the ridge of points 3 and 4.
  const std::string tent = "v 0 0 0\nv 1 0 0\nv 1 1 1\nv 0 1 1\nv 0 2 0\nv 1 2 0\n";
  const std::string a = "f 1 2 3 4\n", b = "f 4 3 6 5\n";
  struct Case {
    const char* name;
    std::string faces;
    size_t vertices;
    bool smooth;
  } cases[] = {
      {"no s line", a + b, 6, true},
      {"one smoothing group", "s 1\n" + a + b, 6, true},
      {"smoothing off", "s off\n" + a + b, 8, false},
      {"two smoothing groups", "s 1\n" + a + "s 2\n" + b, 8, false},
      {"a normal for each side", "vn 0 -1 1\nvn 0 1 1\nf 1//1 2//1 3//1 4//1\nf 4//2 3//2 6//2 5//2\n", 8, false},
      {"a texture seam", "vt 0 0\nvt 1 1\nf 1/1 2/1 3/1 4/1\nf 4/2 3/2 6/2 5/2\n", 8, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write("tent.obj", tent + c.faces);
    CliRun run = Morph({"--neutral", Path("tent.obj"), "-o", Path("tent.glb")});
    ASSERT_EQ(run.status, 0) << run.err;
    gltf_check::MorphFace face;
    ASSERT_TRUE(gltf_check::ReadMorphFace(Path("tent.glb"), &face));
    EXPECT_EQ(face.points.size(), c.vertices * 3);
    const std::vector<float> flat = gltf_check::SmoothNormals(face.points, gltf_check::Polygons(face.indices));
    ASSERT_EQ(face.normals.size(), face.points.size());
    for (size_t v = 0; v < face.points.size() / 3; ++v) {
      SCOPED_TRACE(v);
      // Where nothing is shared, the sum over a vertex's triangles is its
      // square's normal; on a smooth ridge the two squares' meet halfway.
      const bool ridge = face.points[v * 3 + 1] == 1.0f;
      const std::vector<float> want = c.smooth && ridge ? std::vector<float>{0, 0, 1}
                                                        : std::vector<float>(&flat[v * 3], &flat[v * 3] + 3);
      EXPECT_TRUE(gltf_check::Near(std::vector<float>(&face.normals[v * 3], &face.normals[v * 3] + 3), want, 1e-6));
    }
  }
}

TEST_F(MorphTest, NumbersAsOtherWritersWriteThemAreRead) {
  Write("odd.obj", "  v +1.5e+1 -.5 3.\r\n\tv\t1 0 0 1\rv 1E-2 1 0 0.5 0.5 0.5\nf 1 2 3\n");
  cli::ObjMesh mesh;
  std::string error;
  ASSERT_TRUE(cli::ReadObj(Path("odd.obj"), mesh, &error)) << error;
  ASSERT_EQ(mesh.points.size(), 3u);
  EXPECT_EQ(mesh.points[0], Point3(15.0f, -0.5f, 3.0f));
  EXPECT_EQ(mesh.points[1], Point3(1, 0, 0));
  EXPECT_EQ(mesh.points[2], Point3(0.01f, 1, 0));
}

TEST(MorphExample, FullChannelGivesTheBundledTargetShape) {
  std::string face = std::string(MIROVA_SOURCE_DIR) + "/examples/face/";
  std::string out = testing::TempDir() + "example-blend.obj";
  std::ostringstream stdoutText, stderrText;
  int status = RunCli("morph", {"--neutral", face + "neutral.obj", "--target", "open=" + face + "open.obj",
                              "--target", "frown=" + face + "frown.obj", "--set", "Mouth Vertical=100", "-o", out},
                             stdoutText, stderrText);
  ASSERT_EQ(status, 0) << stderrText.str();
  cli::ObjMesh result, open;
  ASSERT_TRUE(cli::ReadObj(out, result, nullptr));
  ASSERT_TRUE(cli::ReadObj(face + "open.obj", open, nullptr));
  ASSERT_EQ(result.points.size(), open.points.size());
  for (size_t i = 0; i < open.points.size(); ++i) EXPECT_TRUE(result.points[i].Equals(open.points[i], 1e-6f)) << i;
  std::remove(out.c_str());
}

}  // namespace

// The bundled example face: a head of several thousand points whose eleven
// targets share its points and faces and each move the part of the face its
// channel names, on the side it names (x grows to the face's left).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "obj_file.h"

namespace {

const std::string kFace = MIROVA_SOURCE_DIR "/examples/face/";

// How the points a target moves go, on average.
enum class Motion { kDown, kUp, kInward };

TEST(ExampleFace, EveryTargetMovesItsOwnPartOfTheFace) {
  cli::ObjMesh neutral;
  std::string problem;
  ASSERT_TRUE(cli::ReadObj(kFace + "neutral.obj", neutral, &problem)) << problem;
  EXPECT_GE(neutral.points.size(), 3000u);
  EXPECT_LE(neutral.points.size(), 8000u);

  const struct {
    const char* name;
    int side;  // +1 the face's left only, -1 its right only, 0 both
    Motion motion;
  } cases[] = {
      {"open", 0, Motion::kDown},          {"puckered", 0, Motion::kInward},
      {"left-eyelid", 1, Motion::kDown},   {"left-eyebrow", 1, Motion::kUp},
      {"left-cheek", 1, Motion::kUp},      {"frown", 0, Motion::kDown},
      {"left-squint", 1, Motion::kUp},     {"right-eyelid", -1, Motion::kDown},
      {"right-eyebrow", -1, Motion::kUp},  {"right-cheek", -1, Motion::kUp},
      {"right-squint", -1, Motion::kUp},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    cli::ObjMesh target;
    ASSERT_TRUE(cli::ReadObj(kFace + c.name + ".obj", target, &problem)) << problem;
    ASSERT_EQ(target.points.size(), neutral.points.size());
    EXPECT_EQ(target.polygons, neutral.polygons);

    int moved = 0, wrongSide = 0;
    double largest = 0, down = 0, inward = 0;
    for (size_t i = 0; i < neutral.points.size(); ++i) {
      const Point3 from = neutral.points[i], by = target.points[i] - from;
      const double distance = std::sqrt(by.x * by.x + by.y * by.y + by.z * by.z);
      if (distance < 1e-5) continue;
      ++moved;
      largest = std::max(largest, distance);
      if (c.side != 0 && from.x * c.side <= 0) ++wrongSide;
      down -= by.y;
      inward -= from.x * by.x;
    }
    EXPECT_GT(moved, 50);
    EXPECT_GT(largest, 0.04) << "too slight to see";
    EXPECT_LT(largest, 0.5) << "tears the face";
    EXPECT_EQ(wrongSide, 0);
    switch (c.motion) {
      case Motion::kDown: EXPECT_GT(down, 0); break;
      case Motion::kUp: EXPECT_LT(down, 0); break;
      case Motion::kInward: EXPECT_GT(inward, 0); break;
    }
  }
}

}  // namespace

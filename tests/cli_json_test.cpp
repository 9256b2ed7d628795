// The command line's JSON writer: what it streams reads back, with a
// well-kept reader, to the values written, each float to the very same
// 32-bit float; and its spacing is the reports' own.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "json.h"

namespace {

// A reader that keeps numbers as 32-bit floats, as the reports mean them.
using FloatJson = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t, std::uint64_t, float>;

TEST(JsonWriter, FloatsReadBackToTheSameFloatFromTheShortestText) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, "0"},
      {-0.0f, "-0.0"},
      {1.0f, "1"},
      {0.1f, "0.1"},
      {1.0f / 3.0f, "0.33333334"},
      {-2.5e-7f, "-2.5e-07"},
      {16777216.0f, "16777216"},
      {123456.7f, "123456.7"},
      {FLT_MAX, "3.4028235e+38"},
      {-FLT_MAX, "-3.4028235e+38"},
      {FLT_MIN, "1.1754944e-38"},
      {1e-45f, "1e-45"},
      {0.15625f, "0.15625"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::ostringstream out;
    cli::JsonWriter(out).BeginArray().Float(c.value).EndArray();
    EXPECT_EQ(out.str(), std::string("[") + c.text + "]");
    const FloatJson read = FloatJson::parse(out.str());
    ASSERT_TRUE(read[0].is_number());
    EXPECT_EQ(read[0].get<float>(), c.value);
  }
}

TEST(JsonWriter, ValuesJsonCannotHoldAreNull) {
  std::ostringstream out;
  cli::JsonWriter(out)
      .BeginArray()
      .Float(std::numeric_limits<float>::infinity())
      .Float(-std::numeric_limits<float>::infinity())
      .Float(std::nanf(""))
      .OptionalString(false, "unused")
      .EndArray();
  const FloatJson read = FloatJson::parse(out.str());
  ASSERT_EQ(read.size(), 4u);
  for (const FloatJson& value : read) EXPECT_TRUE(value.is_null());
}

TEST(JsonWriter, NestedValuesReadBackOnOneLineInTheReportsSpacing) {
  std::ostringstream out;
  cli::JsonWriter json(out);
  json.BeginObject().Key("file").String("take \"1\".asc").Key("ok").Bool(true).Key("samples").BeginArray();
  json.BeginArray().Int(0).Float(0.5f).EndArray().BeginArray().EndArray().EndArray();
  json.Key("messages").BeginArray().BeginObject().Key("caption").OptionalString(false, "");
  json.Key("text").String("l\xe8vre").EndObject().EndArray().Key("empty").BeginObject().EndObject().EndObject();

  EXPECT_EQ(out.str(),
            "{\"file\": \"take \\\"1\\\".asc\", \"ok\": true, \"samples\": [[0, 0.5], []], "
            "\"messages\": [{\"caption\": null, \"text\": \"l\\u00e8vre\"}], \"empty\": {}}");
  const FloatJson read = FloatJson::parse(out.str());
  EXPECT_EQ(read["file"], "take \"1\".asc");
  EXPECT_EQ(read["ok"], true);
  EXPECT_EQ(read["samples"][0][0], 0);
  EXPECT_EQ(read["samples"][0][1].get<float>(), 0.5f);
  EXPECT_TRUE(read["samples"][1].empty());
  EXPECT_TRUE(read["messages"][0]["caption"].is_null());
  EXPECT_EQ(read["messages"][0]["text"], "l\xc3\xa8vre");
  EXPECT_TRUE(read["empty"].is_object());
}

}  // namespace

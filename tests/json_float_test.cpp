// Every 32-bit float the reports print reads back, through a well-kept JSON
// reader taking it as a double, to the very same bits; and no shorter
// decimal would have done.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_command.h"
#include "json.h"
#include "report_json.h"

namespace {

std::uint32_t Bits(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

float FromBits(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The number the reader makes of the text, as a double, narrowed.
float ReadBack(const std::string& text) {
  return static_cast<float>(nlohmann::json::parse(text).get<double>());
}

// Digits between the first and the last that is not zero.
int SignificantDigits(const std::string& text) {
  std::string digits;
  for (char c : text.substr(0, text.find_first_of("eE"))) {
    if (c >= '0' && c <= '9') digits += c;
  }
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 1;
  return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

// The text the writer gave f reads back to f, and no decimal of fewer
// significant digits reads back to it.
::testing::AssertionResult ShortestRoundTrip(float f, const std::string& text) {
  if (Bits(ReadBack(text)) != Bits(f))
    return ::testing::AssertionFailure() << text << " reads back as " << ReadBack(text) << ", not " << f;
  const int digits = SignificantDigits(text);
  for (int precision = 1; precision < digits; ++precision) {
    char shorter[320];
    std::snprintf(shorter, sizeof shorter, "%.*g", precision, static_cast<double>(f));
    if (Bits(std::strtof(shorter, nullptr)) == Bits(f))
      return ::testing::AssertionFailure() << text << " is longer than " << shorter;
  }
  return ::testing::AssertionSuccess();
}

TEST(JsonFloatText, EdgeValuesReadBackShortest) {
  const float cases[] = {0.0f,
                         -0.0f,
                         FromBits(1),           // the smallest denormal, 1e-45
                         FromBits(0x007FFFFF),  // the largest denormal
                         FLT_MIN,
                         -FLT_MIN,
                         FLT_MAX,
                         -FLT_MAX,
                         1.0f / 3.0f,
                         0.1f,
                         -0.1f,
                         16777216.0f,
                         16777218.0f,
                         1e-45f,
                         123456789.0f,
                         1.23456791e-20f,
                         9.99999944e9f,
                         0.15625f,
                         1e20f,
                         4.2e-39f,
                         1.0f,
                         std::nextafter(1.0f, 2.0f),
                         std::nextafter(1.0f, 0.0f),
                         3.4028233e38f};
  for (float f : cases) {
    const std::string text = cli::JsonFloat(f);
    SCOPED_TRACE(text);
    EXPECT_TRUE(ShortestRoundTrip(f, text));
  }
}

// A reader takes "-0" for the integer 0; the sign must survive.
TEST(JsonFloatText, NegativeZeroKeepsItsSign) {
  EXPECT_TRUE(std::signbit(ReadBack(cli::JsonFloat(-0.0f))));
  EXPECT_FALSE(std::signbit(ReadBack(cli::JsonFloat(0.0f))));
}

TEST(JsonFloatText, RandomBitPatternsReadBackShortest) {
  std::mt19937 random(20261208);
  int checked = 0;
  while (checked < 200000) {
    const float f = FromBits(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(f)) continue;
    ++checked;
    const std::string text = cli::JsonFloat(f);
    const ::testing::AssertionResult result = ShortestRoundTrip(f, text);
    if (!result) {
      ADD_FAILURE() << "bits " << std::hex << Bits(f) << ": " << result.message();
      return;
    }
  }
}

// Walks a report and keeps every number's text as the reader met it.
class NumberTexts : public nlohmann::json_sax<nlohmann::json> {
 public:
  std::vector<std::string> texts;
  bool number_integer(number_integer_t v) override { return Keep(std::to_string(v)); }
  bool number_unsigned(number_unsigned_t v) override { return Keep(std::to_string(v)); }
  bool number_float(number_float_t, const string_t& s) override { return Keep(s); }
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

 private:
  bool Keep(const std::string& text) {
    texts.push_back(text);
    return true;
  }
};

std::vector<std::string> NumbersOf(const std::string& report) {
  NumberTexts numbers;
  EXPECT_TRUE(nlohmann::json::sax_parse(report, &numbers));
  return numbers.texts;
}

// A take of random finite floats, each written with nine digits: the
// report's samples hold the same floats, as the reader reads them.
TEST(JsonFloatText, MotionReportHoldsTheTakesFloats) {
  std::mt19937 random(7);
  std::vector<float> written;
  std::string take = "Axes = FOCUS VTrack VEW VNS VPan VTilt VRoll\n";
  for (int sample = 0; sample < 100; ++sample) {
    for (int axis = 0; axis < 7; ++axis) {
      float f;
      do f = FromBits(static_cast<std::uint32_t>(random()));
      while (!std::isfinite(f));
      char text[32];
      std::snprintf(text, sizeof text, "%.9g", static_cast<double>(f));
      written.push_back(std::strtof(text, nullptr));
      take += std::string(axis ? " " : "") + text;
    }
    take += "\n";
  }
  const std::string path = testing::TempDir() + "random_floats.asc";
  std::ofstream(path, std::ios::binary) << take;
  std::ostringstream out, err;
  ASSERT_EQ(RunCli("inspect", {path}, out, err), cli::EXIT_OK) << err.str();
  std::remove(path.c_str());

  const report_json::Json report = report_json::Read(out.str(), report_json::MotionReport());
  ASSERT_EQ(report.at("samples").size(), 100u);
  size_t i = 0;
  for (const auto& sample : report.at("samples"))
    for (const auto& value : sample) {
      SCOPED_TRACE(i);
      EXPECT_EQ(Bits(static_cast<float>(value.get<double>())), Bits(written.at(i++)));
    }
  for (const std::string& text : NumbersOf(out.str())) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(ShortestRoundTrip(ReadBack(text), text));
  }
}

// The bundled examples' reports: every number is the shortest text of the
// float it reads back to.
TEST(JsonFloatText, ExampleReportsPrintShortestFloats) {
  const std::string examples = MIROVA_SOURCE_DIR "/examples/";
  const struct {
    const char* name;
    cli::Args args;
  } cases[] = {
      {"camera", {examples + "dolly.asc", "--plugin", MIROVA_PLUGIN_PATH}},
      {"face", {examples + "face_take.trc", "--neutral", examples + "face/neutral.obj"}},
      {"inspect", {examples + "face_take.trc"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ostringstream out, err;
    ASSERT_EQ(RunCli(c.name, c.args, out, err), cli::EXIT_OK) << err.str();
    const std::vector<std::string> numbers = NumbersOf(out.str());
    EXPECT_GT(numbers.size(), 100u);
    for (const std::string& text : numbers) {
      const float f = ReadBack(text);
      if (!ShortestRoundTrip(f, text) || cli::JsonFloat(f) != text) {
        ADD_FAILURE() << text << " is not the shortest text of " << cli::JsonFloat(f);
        break;
      }
    }
  }
}

}  // namespace

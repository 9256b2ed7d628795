// The command line's JSON reports read back with a well-kept reader: one
// document on one line and the newline after it, every member present in its
// order with its type, no member that is not expected, no key twice.
#ifndef TESTS_REPORT_JSON_H
#define TESTS_REPORT_JSON_H

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

namespace report_json {

// Keeps members in the order written, so that comparing two documents
// compares their order too.
using Json = nlohmann::ordered_json;

// A schema is a Json: a string names the types allowed there, '|' between
// them ("string", "integer", "number", "boolean", "null"); an object lists
// every member its match must have, in order; an array of one schema is a
// list of any length whose items all match it; an array of several is a
// tuple of exactly those.
inline bool HasType(const Json& value, const std::string& name) {
  if (name == "string") return value.is_string();
  if (name == "integer") return value.is_number_integer();
  if (name == "number") return value.is_number();
  if (name == "boolean") return value.is_boolean();
  if (name == "null") return value.is_null();
  return false;
}

inline bool HasAnyType(const Json& value, const std::string& names) {
  for (size_t start = 0;;) {
    const size_t bar = names.find('|', start);
    if (HasType(value, names.substr(start, bar - start))) return true;
    if (bar == std::string::npos) return false;
    start = bar + 1;
  }
}

inline ::testing::AssertionResult Matches(const Json& value, const Json& schema, const std::string& where = "$") {
  auto fail = [&](const std::string& why) {
    return ::testing::AssertionFailure() << where << ": " << why << " in " << value.dump();
  };
  if (schema.is_string()) {
    if (!HasAnyType(value, schema.get<std::string>())) return fail("not " + schema.get<std::string>());
    return ::testing::AssertionSuccess();
  }
  if (schema.is_object()) {
    if (!value.is_object()) return fail("not an object");
    std::vector<std::string> keys, expected;
    for (auto it = value.begin(); it != value.end(); ++it) keys.push_back(it.key());
    for (auto it = schema.begin(); it != schema.end(); ++it) expected.push_back(it.key());
    if (keys != expected) return fail("members are not exactly " + Json(expected).dump());
    for (auto it = schema.begin(); it != schema.end(); ++it)
      if (auto member = Matches(value.at(it.key()), it.value(), where + "." + it.key()); !member) return member;
    return ::testing::AssertionSuccess();
  }
  if (!value.is_array()) return fail("not an array");
  const bool list = schema.size() == 1;
  if (!list && value.size() != schema.size()) return fail("not " + std::to_string(schema.size()) + " items");
  for (size_t i = 0; i < value.size(); ++i)
    if (auto item = Matches(value[i], schema[list ? 0 : i], where + "[" + std::to_string(i) + "]"); !item)
      return item;
  return ::testing::AssertionSuccess();
}

// The report's one document: the text must be it and one newline, with no
// key twice in an object (a reader would keep only one of them).
inline ::testing::AssertionResult Parse(const std::string& text, Json* document) {
  if (text.empty() || text.back() != '\n' || text.find('\n') != text.size() - 1)
    return ::testing::AssertionFailure() << "not one line ended by a newline: " << text;
  const std::string body = text.substr(0, text.size() - 1);
  if (!body.empty() && (body.back() == ' ' || body.back() == '\t' || body.back() == '\r'))
    return ::testing::AssertionFailure() << "white space after the document: " << text;
  std::vector<std::set<std::string>> open;
  std::string twice;
  auto noKeyTwice = [&](int, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::object_start) open.emplace_back();
    if (event == Json::parse_event_t::object_end) open.pop_back();
    if (event == Json::parse_event_t::key && !open.back().insert(parsed.get<std::string>()).second)
      twice = parsed.get<std::string>();
    return true;
  };
  try {
    *document = Json::parse(body, noKeyTwice);
  } catch (const Json::parse_error& e) {
    return ::testing::AssertionFailure() << e.what() << " in " << text;
  }
  if (!twice.empty()) return ::testing::AssertionFailure() << "key \"" << twice << "\" twice in " << text;
  return ::testing::AssertionSuccess();
}

// The report read and checked against its schema; null when it fails.
inline Json Read(const std::string& text, const Json& schema) {
  Json document;
  const ::testing::AssertionResult parsed = Parse(text, &document);
  EXPECT_TRUE(parsed);
  if (!parsed) return Json();
  const ::testing::AssertionResult matches = Matches(document, schema);
  EXPECT_TRUE(matches);
  return matches ? document : Json();
}

// --- the reports' schemas ---

inline Json Messages() { return Json::array({{{"caption", "string|null"}, {"text", "string"}}}); }

// mirova inspect FILE.asc: per sample FOCUS, VTrack, VEW, VNS, VPan, VTilt, VRoll.
inline Json MotionReport() {
  const Json sample = Json::array({"number", "number", "number", "number", "number", "number", "number"});
  return {{"file", "string"}, {"ok", "boolean"}, {"samples", Json::array({sample})}, {"messages", Messages()}};
}

// mirova inspect FILE.trc: per marker its (vertical, horizontal) positions.
inline Json TrackerReport() {
  const Json marker = {{"name", "string"},
                       {"valid", "integer"},
                       {"positions", Json::array({Json::array({"number", "number"})})}};
  return {{"file", "string"},          {"samples", "integer"},
          {"times", {"integer"}},      {"markers", Json::array({marker})},
          {"describe", "string"},      {"messages", Messages()}};
}

// mirova face: every parameter's keys as [ticks, value].
inline Json FaceReport() {
  const Json parameter = {
      {"index", "integer"}, {"name", "string"}, {"keys", Json::array({Json::array({"integer", "number"})})}};
  return {{"file", "string"},
          {"ticksPerFrame", "integer"},
          {"parameters", Json::array({parameter})},
          {"messages", Messages()}};
}

// mirova camera: keys as [ticks, x, y, z] and [ticks, qx, qy, qz, qw].
inline Json CameraReport() {
  return {{"file", "string"},
          {"fps", "integer"},
          {"samples", "integer"},
          {"position", Json::array({Json::array({"integer", "number", "number", "number"})})},
          {"rotation", Json::array({Json::array({"integer", "number", "number", "number", "number"})})},
          {"scale", Json::array({"number", "number", "number"})},
          {"messages", Messages()}};
}

inline Json MorphReport() {
  return {{"output", "string"}, {"points", "integer"}, {"faces", "integer"}, {"time", "integer"},
          {"messages", Messages()}};
}

inline Json InfoReport() {
  const Json classDesc = {{"name", "string"},
                          {"category", "string"},
                          {"superClassID", "string"},
                          {"classID", Json::array({"string", "string"})}};
  return {{"plugin", "string"},
          {"description", "string"},
          {"version", "string"},
          {"classes", Json::array({classDesc})},
          {"classCount", "integer"}};
}

}  // namespace report_json

#endif

#include "rig_map.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <nlohmann/json.hpp>

#include "file_names.h"
#include "json_file.h"

namespace cli {

namespace {

RigMap MakePreset() {
  RigMap map;
  auto drive = [&map](ChannelIndex c, std::vector<RigDrive> drives) { map.drives[c] = std::move(drives); };
  drive(CHANNEL_MOUTH_VERTICAL, {{"jawOpen", 1.0}});
  drive(CHANNEL_MOUTH_HORIZONTAL, {{"mouthPucker", 1.0}});
  drive(CHANNEL_LEFT_EYELID, {{"eyeBlinkLeft", 1.0}});
  drive(CHANNEL_RIGHT_EYELID, {{"eyeBlinkRight", 1.0}});
  // The outer brow marker leads; the inner brows rise with both sides.
  drive(CHANNEL_LEFT_EYEBROW, {{"browOuterUpLeft", 1.0}, {"browInnerUp", 0.5}});
  drive(CHANNEL_RIGHT_EYEBROW, {{"browOuterUpRight", 1.0}, {"browInnerUp", 0.5}});
  // A raised cheek is a smile's.
  drive(CHANNEL_LEFT_CHEEK, {{"cheekSquintLeft", 1.0}, {"mouthSmileLeft", 1.0}});
  drive(CHANNEL_RIGHT_CHEEK, {{"cheekSquintRight", 1.0}, {"mouthSmileRight", 1.0}});
  // One inner-brow marker measures the frown of both brows.
  drive(CHANNEL_FROWN, {{"browDownLeft", 1.0}, {"browDownRight", 1.0}});
  drive(CHANNEL_LEFT_SQUINT, {{"eyeSquintLeft", 1.0}});
  drive(CHANNEL_RIGHT_SQUINT, {{"eyeSquintRight", 1.0}});
  return map;
}

int ChannelNamed(const std::string& name) {
  for (int c = 0; c < NUM_CHANNELS; ++c)
    if (name == expressionChannels[c].name) return c;
  return -1;
}

std::string ChannelList() {
  std::string list;
  for (int c = 0; c < NUM_CHANNELS; ++c) list += std::string(c ? ", \"" : "\"") + expressionChannels[c].name + "\"";
  return list;
}

// A text iterator that counts the lines it passes, so that the reader can
// say where a key stands.
class LineCounter {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;
  LineCounter(const char* at, size_t* line) : at(at), line(line) {}
  reference operator*() const { return *at; }
  LineCounter& operator++() {
    if (*at++ == '\n') ++*line;
    return *this;
  }
  LineCounter operator++(int) {
    LineCounter before = *this;
    ++*this;
    return before;
  }
  bool operator==(const LineCounter& other) const { return at == other.at; }
  bool operator!=(const LineCounter& other) const { return at != other.at; }

 private:
  const char* at;
  size_t* line;
};

using Json = nlohmann::json;

// Builds the map as the parser walks the file: an object of channels, each
// an object of targets and factors. A value is judged at its key's line.
class MapReader : public nlohmann::json_sax<Json> {
 public:
  MapReader(RigMap* map, const size_t* line) : map(map), line(line) {}
  // What was wrong, and where: a byte when the parser says, else a line.
  std::string problem;
  size_t faultByte = 0, problemLine = 0;

  bool null() override { return Refuse("null"); }
  bool boolean(bool) override { return Refuse("true or false"); }
  bool number_integer(number_integer_t v) override { return Factor(static_cast<double>(v)); }
  bool number_unsigned(number_unsigned_t v) override { return Factor(static_cast<double>(v)); }
  bool number_float(number_float_t v, const string_t&) override { return Factor(v); }
  bool string(string_t&) override { return Refuse("a string"); }
  bool binary(binary_t&) override { return Refuse("binary data"); }
  bool start_array(std::size_t) override { return Refuse("an array"); }
  bool end_array() override { return false; }
  bool start_object(std::size_t) override {
    if (depth == 2) return Refuse("an object");
    ++depth;
    return true;
  }
  bool end_object() override {
    if (--depth == 1) channel = -1;
    return true;
  }
  bool key(string_t& name) override {
    keyLine = *line;
    return depth == 1 ? Channel(name) : Target(name);
  }
  // The parser's fault, at the byte it stopped on.
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
    problem = "not JSON: " + ParseFault(e.what());
    faultByte = position;
    return false;
  }

 private:
  bool Channel(const std::string& name) {
    channel = ChannelNamed(name);
    if (channel < 0) return Fail("\"" + Printable(name) + "\" is no channel; the channels are " + ChannelList());
    if (seen[channel]) return Fail("the channel \"" + name + "\" is named twice");
    seen[channel] = true;
    return true;
  }
  bool Target(const std::string& name) {
    if (name.empty()) return Fail("a target without a name");
    const std::vector<RigDrive>& drives = map->drives[channel];
    if (std::any_of(drives.begin(), drives.end(), [&](const RigDrive& d) { return d.target == name; }))
      return Fail("\"" + Printable(name) + "\" is named twice under \"" + expressionChannels[channel].name + "\"");
    target = name;
    return true;
  }
  bool Factor(double factor) {
    if (depth != 2) return Refuse("a number");
    if (!std::isfinite(factor)) return Fail("the factor of \"" + Printable(target) + "\" is not a finite number");
    map->drives[channel].push_back({target, factor});
    return true;
  }
  // What stands where it should not.
  bool Refuse(const std::string& what) {
    if (depth == 0) return Fail("a map is a JSON object of channels, not " + what);
    if (depth == 1)
      return Fail("the channel \"" + std::string(expressionChannels[channel].name) +
                  "\" holds an object of targets and factors, not " + what);
    return Fail("the factor of \"" + Printable(target) + "\" is a number, not " + what);
  }
  bool Fail(const std::string& why) {
    problem = why;
    problemLine = depth == 0 ? *line : keyLine;
    return false;
  }

  RigMap* map;
  const size_t* line;
  size_t keyLine = 1;
  int depth = 0, channel = -1;
  bool seen[NUM_CHANNELS] = {};
  std::string target;
};

}  // namespace

const RigMap& PresetRigMap() {
  static const RigMap preset = MakePreset();
  return preset;
}

bool ReadRigMap(const std::string& path, RigMap* map, std::string* error) {
  std::string text;
  if (!ReadFileBytes(path, size_t(16) << 20, &text, error)) return false;
  *map = RigMap();
  size_t line = 1;
  MapReader reader(map, &line);
  const char* begin = text.data();
  if (Json::sax_parse(LineCounter(begin, &line), LineCounter(begin + text.size(), &line), &reader)) return true;
  const size_t where = reader.faultByte ? LineAt(text, reader.faultByte - 1) : reader.problemLine;
  *error = Printable(path) + ":" + std::to_string(where) + ": " + reader.problem;
  return false;
}

std::vector<std::string> MappedTargets(const RigMap& map) {
  std::vector<std::string> names;
  for (const std::vector<RigDrive>& drives : map.drives)
    for (const RigDrive& d : drives)
      if (std::find(names.begin(), names.end(), d.target) == names.end()) names.push_back(d.target);
  return names;
}

}  // namespace cli

#include "chan_read.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "chan.h"
#include "cli.h"
#include "file_names.h"

namespace cli {

namespace {

struct ChanKey {
  double frame = 0;
  ChanPose pose;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A word as a message shows it: quoted, escaped, and cut when long.
std::string Quoted(const std::string& word) {
  const size_t shown = 40;
  return "\"" + Printable(word.substr(0, shown)) + (word.size() > shown ? "...\"" : "\"");
}

// The word as a finite decimal number; false for anything else (words,
// infinities, not-a-number, values past a double).
bool ReadNumber(const std::string& word, double* value) {
  const char* begin = word.data();
  const char* end = begin + word.size();
  if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
  const auto result = std::from_chars(begin, end, *value, std::chars_format::general);
  return result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

// What is wrong with the line's numbers, or "". The words of the line are
// read into numbers.
std::string LineProblem(const std::string& text, size_t at, size_t end, std::vector<double>* numbers) {
  numbers->clear();
  while (at < end) {
    if (IsBlank(text[at])) {
      ++at;
      continue;
    }
    size_t stop = at;
    while (stop < end && !IsBlank(text[stop])) ++stop;
    const std::string word = text.substr(at, stop - at);
    double value = 0;
    if (numbers->size() == 8) return "more than eight numbers (frame, position, rotation, field of view)";
    if (!ReadNumber(word, &value)) return Quoted(word) + " is not a finite decimal number";
    numbers->push_back(value);
    at = stop;
  }
  if (!numbers->empty() && numbers->size() < 7)
    return "seven numbers wanted (frame, tx ty tz, rx ry rz), not " + std::to_string(numbers->size());
  return "";
}

double Mix(double a, double b, double u) { return a + (b - a) * u; }

class ChanSource : public CameraSource {
 public:
  explicit ChanSource(std::vector<ChanKey> keys) : keys(std::move(keys)) {}

  double FirstTime() const override { return keys.front().frame; }
  double LastTime() const override { return keys.back().frame; }
  double SampleTime(double start, long long frames) const override { return start + static_cast<double>(frames); }

  bool PoseAt(double frame, CameraPose* pose, std::string*) override {
    const ChanPose p = Interpolated(frame);
    pose->position[0] = p.tx;
    pose->position[1] = p.ty;
    pose->position[2] = p.tz;
    pose->rotation = AxisTurn(1, p.ry) * AxisTurn(0, p.rx) * AxisTurn(2, p.rz);
    return true;
  }

 private:
  ChanPose Interpolated(double frame) const {
    const auto after = std::upper_bound(keys.begin(), keys.end(), frame,
                                        [](double f, const ChanKey& key) { return f < key.frame; });
    if (after == keys.begin()) return keys.front().pose;
    if (after == keys.end()) return keys.back().pose;
    const ChanKey& a = *(after - 1);
    const ChanKey& b = *after;
    const double u = (frame - a.frame) / (b.frame - a.frame);
    ChanPose p;
    p.tx = Mix(a.pose.tx, b.pose.tx, u), p.ty = Mix(a.pose.ty, b.pose.ty, u), p.tz = Mix(a.pose.tz, b.pose.tz, u);
    p.rx = Mix(a.pose.rx, b.pose.rx, u), p.ry = Mix(a.pose.ry, b.pose.ry, u), p.rz = Mix(a.pose.rz, b.pose.rz, u);
    return p;
  }

  std::vector<ChanKey> keys;
};

// The keys of the text; false, with "LINE: what" in *problem, at the first
// line that cannot be one. *fieldOfView tells whether a line held an eighth
// number.
bool ReadChanText(const std::string& text, std::vector<ChanKey>* keys, bool* fieldOfView, std::string* problem) {
  *fieldOfView = false;
  std::vector<double> numbers;
  size_t line = 1;
  for (size_t at = 0; at < text.size(); ++line) {
    const size_t end = std::min(text.find('\n', at), text.size());
    std::string why = LineProblem(text, at, end, &numbers);
    if (why.empty() && !numbers.empty()) {
      if (!keys->empty() && numbers[0] <= keys->back().frame) why = "the frame does not come after the one before";
      ChanKey key;
      key.frame = numbers[0];
      key.pose = {numbers[1], numbers[2], numbers[3], numbers[4], numbers[5], numbers[6]};
      keys->push_back(key);
      *fieldOfView |= numbers.size() == 8;
    }
    if (!why.empty()) {
      *problem = std::to_string(line) + ": " + why;
      return false;
    }
    at = end + 1;
  }
  return true;
}

}  // namespace

CameraRead ReadChanCamera(const std::string& path) {
  CameraRead read;
  const std::string name = Printable(path);
  std::ifstream file(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<ChanKey> keys;
  bool fieldOfView = false;
  std::string problem;
  if (!file.is_open() || file.bad()) {
    read.status = EXIT_USAGE;
    read.problem = "cannot read " + name;
  } else if (!ReadChanText(text, &keys, &fieldOfView, &problem)) {
    read.status = EXIT_USAGE;
    read.problem = name + ":" + problem;
  } else if (keys.empty()) {
    read.status = EXIT_REFUSED;
    read.problem = name + ": holds no frame, so there is no move to take";
  } else {
    read.source = std::make_unique<ChanSource>(std::move(keys));
    if (fieldOfView) read.note = name + ": the field of view (eighth number) is left out: a take holds no lens";
  }
  return read;
}

}  // namespace cli

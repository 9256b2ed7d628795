// The command line's JSON: a writer that streams a report as it is walked,
// on one line, with ", " between members and items and ": " after a key.
#ifndef MIROVA_CLI_JSON_H
#define MIROVA_CLI_JSON_H
#include <ostream>
#include <string>
#include <vector>

namespace cli {

// The string as a JSON string literal, quotes included.
std::string JsonString(const std::string& s);
// The shortest decimal that reads back to the same 32-bit float; null for a
// value JSON cannot hold (infinity, not a number).
std::string JsonFloat(float f);

// Each call writes one token to out at once. Every value inside an object
// follows its Key; the caller keeps objects and arrays balanced.
class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out(out) {}

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(const std::string& key);

  JsonWriter& String(const std::string& s);
  JsonWriter& OptionalString(bool present, const std::string& s);  // null when absent
  JsonWriter& Float(float f);
  JsonWriter& Int(long long i);
  JsonWriter& Bool(bool b);
  JsonWriter& Null();

 private:
  // The separator a new member or item needs.
  void Separate();

  std::ostream& out;
  std::vector<bool> stillEmpty;  // per open object or array
  bool afterKey = false;
};

}  // namespace cli

#endif

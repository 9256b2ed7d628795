// A small JSON writer for the command line's reports.
#ifndef MIROVA_CLI_JSON_H
#define MIROVA_CLI_JSON_H
#include <ostream>
#include <string>

namespace cli {

// The string as a JSON string literal, quotes included.
std::string JsonString(const std::string& s);
// The shortest decimal that reads back to the same 32-bit float; null for a
// value JSON cannot hold (infinity, not a number).
std::string JsonFloat(float f);
// A string, or null for none.
std::string JsonOptionalString(bool present, const std::string& s);

}  // namespace cli

#endif

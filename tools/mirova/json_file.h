// Files the command line reads whole and parses as JSON (a rig, a map):
// read bounded, so that a device or an endless pipe stops, and the parser's
// faults said by line.
#ifndef MIROVA_CLI_JSON_FILE_H
#define MIROVA_CLI_JSON_FILE_H
#include <cstddef>
#include <string>

namespace cli {

// Reads path into bytes a block at a time. False, with *error ("PATH: why"),
// when it cannot be read or holds more than limit bytes; what is no text is
// the caller's to judge.
bool ReadFileBytes(const std::string& path, std::size_t limit, std::string* bytes, std::string* error);

// The line (from 1) that byte offset at of text lies on; LF ends a line.
std::size_t LineAt(const std::string& text, std::size_t at);

// What nlohmann's parse error says was wrong, without its code and position
// ("syntax error while parsing value - ...").
std::string ParseFault(const std::string& what);

}  // namespace cli

#endif

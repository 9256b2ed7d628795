// The words of a scene file's lines and the numbers they spell (internal to
// the headless stand-in).
#ifndef HEADLESS_SCENE_FILE_TOKENS_H
#define HEADLESS_SCENE_FILE_TOKENS_H
#include <windows.h>

#include <string>
#include <vector>

namespace headless::detail {

// Splits a line at spaces and tabs into tokens. A quoted name is one token,
// its quotes dropped and its escapes resolved (\n a line break, \x any other
// x itself); false for a name whose quote is not closed.
bool Tokenize(const std::string& line, std::vector<std::string>& tokens);

// Each true when all of s is the number, stored in v: a decimal that an int
// holds; a 32-bit id written 0x...; a float as strtof reads it.
bool ToInt(const std::string& s, int& v);
bool ToHexId(const std::string& s, ULONG& v);
bool ToFloat(const std::string& s, float& v);

}  // namespace headless::detail

#endif

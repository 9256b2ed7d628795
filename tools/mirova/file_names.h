// Names of the files the command line is given.
#ifndef MIROVA_CLI_FILE_NAMES_H
#define MIROVA_CLI_FILE_NAMES_H
#include <string>

namespace cli {

// Whether path ends in extension (".trc"), in any letter case, as the
// extensions of a Windows user's files come.
bool HasExtension(const std::string& path, const std::string& extension);

// The file part of a path: what follows its last '/'. A backslash is part of
// a name here, as the files come from this system, not from Windows.
std::string FileNameOf(const std::string& path);

// The file part less its extension: "face_take" for "takes/face_take.trc".
std::string StemOf(const std::string& path);

// path as a message may show it: control characters (a newline that would
// start a line of its own and forge one, an escape) written as C escapes.
std::string Printable(const std::string& path);

}  // namespace cli

#endif

// Names of the files the command line is given.
#ifndef MIROVA_CLI_FILE_NAMES_H
#define MIROVA_CLI_FILE_NAMES_H
#include <string>

namespace cli {

// Whether path ends in extension (".trc"), in any letter case, as the
// extensions of a Windows user's files come.
bool HasExtension(const std::string& path, const std::string& extension);

}  // namespace cli

#endif

// Where a recorded file went wrong, told on the error stream the way
// compilers point at a line: "mirova: FILE:LINE: what was wrong".
#ifndef MIROVA_CLI_FAULT_MESSAGE_H
#define MIROVA_CLI_FAULT_MESSAGE_H
#include <ostream>
#include <string>

#include "readfault.h"

namespace cli {

// Prints nothing when the read found no fault. path as the user gave it.
void PrintReadFault(std::ostream& err, const std::string& path, const ReadFault& fault);

}  // namespace cli

#endif

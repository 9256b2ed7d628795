// mirova morph's --set "PARAM=PERCENT": a value typed into the spinner of a
// parameter, found by the name the host lists it under, on the Percentages
// or Scales rollup opened first as a user must.
#ifndef MIROVA_CLI_MORPH_SETTINGS_H
#define MIROVA_CLI_MORPH_SETTINGS_H
#include <headless_host.h>

#include <ostream>
#include <string>
#include <vector>

#include "library_access.h"

class ExpressionObject;

namespace cli {

// One --set: the parameter's name, the text typed into its spinner and the
// number it reads as.
struct Setting {
  std::string name, text;
  float percent = 0.0f;
};

// The settings the words name; false, with *problem, for a word that is no
// "PARAM=PERCENT" with a finite number.
bool ParseSettings(const std::vector<std::string>& words, std::vector<Setting>* settings, std::string* problem);

// Types each setting into its spinner. The spinner keeps to its range; a
// value it clamped is told on err. EXIT_USAGE for a name the host does not
// list (the names listed), EXIT_REFUSED for a spinner that cannot be reached.
int TypeSettings(headless::Host& host, const LibraryAccess& library, ExpressionObject* obj,
                 const std::vector<Setting>& settings, std::ostream& err);

}  // namespace cli

#endif

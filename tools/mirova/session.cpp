#include "session.h"

namespace cli {

Session::Session(const std::string& path, std::ostream& err) : plugin(path), messages(err) {
  if (!plugin.Loaded()) ReportNotLoaded(plugin, err);
}

}  // namespace cli

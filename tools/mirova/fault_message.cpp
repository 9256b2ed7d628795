#include "fault_message.h"

namespace cli {

void PrintReadFault(std::ostream& err, const std::string& path, const ReadFault& fault) {
  if (fault.Found()) err << "mirova: " << path << ":" << fault.line << ": " << fault.what.data() << "\n";
}

}  // namespace cli

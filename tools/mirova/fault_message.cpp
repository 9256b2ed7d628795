#include "fault_message.h"

#include "file_names.h"

namespace cli {

void PrintReadFault(std::ostream& err, const std::string& path, const ReadFault& fault) {
  if (fault.Found())
    err << "mirova: " << Printable(path) << ":" << fault.line << ": " << fault.what.data() << "\n";
}

}  // namespace cli

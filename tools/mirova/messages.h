// Message boxes the library shows while a subcommand runs: echoed to the
// error stream as "caption: text" lines and kept for the report.
#ifndef MIROVA_CLI_MESSAGES_H
#define MIROVA_CLI_MESSAGES_H
#include <headless.h>

#include <ostream>
#include <vector>

#include "json.h"

namespace cli {

class MessageLog {
 public:
  explicit MessageLog(std::ostream& err);
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  const std::vector<headless::MessageBoxRecord>& Boxes() const { return boxes; }
  // The boxes as a JSON array of {"caption": C, "text": T}.
  void WriteJson(JsonWriter& json) const;

 private:
  std::vector<headless::MessageBoxRecord> boxes;
};

}  // namespace cli

#endif

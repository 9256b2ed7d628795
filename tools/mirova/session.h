// The plug-in loaded into a headless host, with the message boxes it shows
// logged: where every command that drives the plug-in works. The members go
// in reverse order, so the host, and whatever it holds open, goes before the
// module does.
#ifndef MIROVA_CLI_SESSION_H
#define MIROVA_CLI_SESSION_H
#include <headless_host.h>

#include <ostream>
#include <string>

#include "messages.h"
#include "plugin.h"

namespace cli {

class Session {
 public:
  // Loads the module at path; when it does not load, says so on err.
  Session(const std::string& path, std::ostream& err);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Whether the module loaded (a command without it ends with EXIT_USAGE).
  bool Ready() const { return plugin.Loaded(); }

  Plugin plugin;
  MessageLog messages;
  headless::Host host;
};

}  // namespace cli

#endif

// mirova info: loads the plug-in as the host does and lists what it exports.
#include <max.h>

#include <cstdio>

#include "cli.h"
#include "command_line.h"
#include "json.h"
#include "plugin.h"

namespace cli {

namespace {

std::string Hex(ULONG value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

void WriteClass(JsonWriter& json, ClassDesc* cd) {
  if (!cd) {
    json.Null();
    return;
  }
  Class_ID id = cd->ClassID();
  json.BeginObject().Key("name").String(cd->ClassName()).Key("category").String(cd->Category());
  json.Key("superClassID").String(Hex(cd->SuperClassID()));
  json.Key("classID").BeginArray().String(Hex(id.PartA())).String(Hex(id.PartB())).EndArray();
  json.EndObject();
}

}  // namespace

int RunInfo(const Args& args, std::ostream& out, std::ostream& err) {
  std::string path = PluginPath(Args());
  CommandLine line("info");
  line.App()
      .add_option("--plugin", path, "The plug-in module to load (mirova.dlu of this install)")
      ->type_name("FILE");
  const int parsed = line.Parse(args, out, err);
  if (parsed >= 0) return parsed;
  Plugin plugin(path);
  if (!plugin.Loaded()) {
    ReportNotLoaded(plugin, err);
    return EXIT_USAGE;
  }
  if (!plugin.HasExports()) {
    err << "mirova: " << plugin.Path() << " is not a plug-in: an export is missing\n";
    return EXIT_REFUSED;
  }
  JsonWriter json(out);
  json.BeginObject().Key("plugin").String(plugin.Path()).Key("description").String(plugin.Description());
  json.Key("version").String(Hex(plugin.Version())).Key("classes").BeginArray();
  int count = plugin.NumberClasses();
  for (int i = 0; i < count; ++i) WriteClass(json, plugin.ClassDescAt(i));
  json.EndArray().Key("classCount").Int(count).EndObject();
  out << "\n";
  return EXIT_OK;
}

}  // namespace cli

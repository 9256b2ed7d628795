// mirova info: loads the plug-in as the host does and lists what it exports.
#include <max.h>

#include <cstdio>

#include "commands.h"
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

class InfoCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("--plugin", path, "The plug-in module to load (mirova.dlu of this install)")->type_name("FILE");
  }

  int Run(std::ostream& out, std::ostream& err) override {
    const Plugin plugin(path);
    const int status = CheckExports(plugin, err);
    if (status != EXIT_OK) return status;
    JsonWriter json(out);
    json.BeginObject().Key("plugin").String(plugin.Path()).Key("description").String(plugin.Description());
    json.Key("version").String(Hex(plugin.Version())).Key("classes").BeginArray();
    const int count = plugin.NumberClasses();
    for (int i = 0; i < count; ++i) WriteClass(json, plugin.ClassDescAt(i));
    json.EndArray().Key("classCount").Int(count).EndObject();
    out << "\n";
    return EXIT_OK;
  }

 private:
  std::string path = PluginPath();
};

}  // namespace

std::unique_ptr<Command> MakeInfoCommand() { return std::make_unique<InfoCommand>(); }

}  // namespace cli

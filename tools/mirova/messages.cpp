#include "messages.h"

namespace cli {

MessageLog::MessageLog(std::ostream& err) {
  headless::OnMessageBox([this, &err](const headless::MessageBoxRecord& box) {
    boxes.push_back(box);
    if (box.hasCaption) err << box.caption << ": ";
    err << box.text << "\n";
  });
}

MessageLog::~MessageLog() { headless::OnMessageBox(nullptr); }

void MessageLog::WriteJson(JsonWriter& json) const {
  json.BeginArray();
  for (const headless::MessageBoxRecord& box : boxes) {
    json.BeginObject().Key("caption").OptionalString(box.hasCaption, box.caption);
    json.Key("text").String(box.text).EndObject();
  }
  json.EndArray();
}

}  // namespace cli

#include "messages.h"

#include "json.h"

namespace cli {

MessageLog::MessageLog(std::ostream& err) {
  headless::OnMessageBox([this, &err](const headless::MessageBoxRecord& box) {
    boxes.push_back(box);
    if (box.hasCaption) err << box.caption << ": ";
    err << box.text << "\n";
  });
}

MessageLog::~MessageLog() { headless::OnMessageBox(nullptr); }

std::string MessageLog::Json() const {
  std::string json = "[";
  for (size_t i = 0; i < boxes.size(); ++i) {
    json += i ? ", " : "";
    json += "{\"caption\": " + JsonOptionalString(boxes[i].hasCaption, boxes[i].caption) +
            ", \"text\": " + JsonString(boxes[i].text) + "}";
  }
  return json + "]";
}

}  // namespace cli

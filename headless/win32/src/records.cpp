#include "recorder.h"
#include "module_registry.h"

namespace headless::detail {

Recorder& Records() {
  static Recorder recorder;
  return recorder;
}

}  // namespace headless::detail

namespace headless {

using headless::detail::Records;

const std::vector<MessageBoxRecord>& MessageBoxes() { return Records().messageBoxes; }
void AnswerNextMessageBox(int answer) { Records().messageBoxAnswers.push_back(answer); }
void OnMessageBox(std::function<void(const MessageBoxRecord&)> observer) {
  Records().messageBoxObserver = std::move(observer);
}
int CommonControlsInitCount() { return Records().commonControlsInits; }

std::string ModuleResourceScript(HINSTANCE module) {
  headless::detail::Module* m = headless::detail::FindModule(module);
  return m ? m->resourceScript : std::string();
}

std::string ModulePath(HINSTANCE module) {
  headless::detail::Module* m = headless::detail::FindModule(module);
  return m ? m->path : std::string();
}

void ResetWin32Records() {
  auto observer = std::move(Records().messageBoxObserver);
  Records() = headless::detail::Recorder();
  Records().messageBoxObserver = std::move(observer);
}

}  // namespace headless

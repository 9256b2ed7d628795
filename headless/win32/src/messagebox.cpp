#include <commctrl.h>

#include "recorder.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  auto& records = headless::detail::Records();
  headless::MessageBoxRecord box;
  box.owner = owner;
  box.text = text ? text : "";
  box.hasCaption = caption != nullptr;
  box.caption = caption ? caption : "";
  box.style = type;
  if (!records.messageBoxAnswers.empty()) {
    box.answer = records.messageBoxAnswers.front();
    records.messageBoxAnswers.pop_front();
  }
  records.messageBoxes.push_back(box);
  if (records.messageBoxObserver) records.messageBoxObserver(box);
  return box.answer;
}

void InitCommonControls() { ++headless::detail::Records().commonControlsInits; }

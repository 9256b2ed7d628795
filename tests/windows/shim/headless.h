// The headless user's records for the Linux tests compiled for Windows: the
// SDK DLL's own records, and the message boxes Windows really showed, read
// off the screen and answered by message_boxes.cpp.
#ifndef MIROVA_WINDOWS_HEADLESS_H
#define MIROVA_WINDOWS_HEADLESS_H
#include <headless_sdk.h>

#include <string>
#include <vector>

namespace headless {

// A message box as the user saw it. The style is read back from the box's
// buttons and icon, as far as they show it.
struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string text;
  bool hasCaption = false;  // false: the system's default caption "Error"
  std::string caption;
  UINT style = 0;
};
const std::vector<MessageBoxRecord>& MessageBoxes();

// Forgets the boxes and the SDK's records.
void ResetRecords();

}  // namespace headless

#endif

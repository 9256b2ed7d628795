// The headless user and the records of what the host showed: the extra API
// through which tests and the command line drive the stand-in platform as a
// user would, and read back what a user would have seen.
#ifndef STANDIN_HEADLESS_H
#define STANDIN_HEADLESS_H
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace headless {

// One message box as shown. A null caption (the system's default) is kept
// apart from an empty one.
struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string text;
  bool hasCaption = false;
  std::string caption;
  UINT style = 0;
  int answer = IDOK;
};
const std::vector<MessageBoxRecord>& MessageBoxes();
// The user's answer to the next message box shown; unanswered boxes get IDOK.
void AnswerNextMessageBox(int answer);
// Called for every box as it is shown (the command line echoes them).
void OnMessageBox(std::function<void(const MessageBoxRecord&)> observer);

// One report of the host's assertion routine.
struct AssertRecord {
  int line = 0;
  std::string file;  // as passed by the caller
};
const std::vector<AssertRecord>& AssertReports();

// How often the control libraries were initialised, and for which module.
int CustomControlsInitCount();
int CommonControlsInitCount();
HINSTANCE CustomControlsInstance();

// The module's resource script as embedded at build time (preprocessed, ids
// resolved); empty when the module carries none.
std::string ModuleResourceScript(HINSTANCE module);
// The file the module was loaded from.
std::string ModulePath(HINSTANCE module);

// Forgets every record and scripted answer (not the loaded modules), so that
// each test starts from a clean user.
void ResetRecords();

}  // namespace headless

#endif

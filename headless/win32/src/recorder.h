// The record store behind headless_win32.h, written by the stand-in's Win32
// functions (internal to win32).
#ifndef HEADLESS_RECORDER_H
#define HEADLESS_RECORDER_H
#include <headless_win32.h>

#include <deque>

namespace headless::detail {

struct OpenDialogAnswer {
  bool cancel = true;
  std::string path;
};

struct Recorder {
  std::vector<headless::MessageBoxRecord> messageBoxes;
  std::deque<int> messageBoxAnswers;
  std::function<void(const headless::MessageBoxRecord&)> messageBoxObserver;
  int commonControlsInits = 0;
  // The open-file dialog.
  std::vector<headless::OpenDialogRecord> openDialogs;
  std::deque<OpenDialogAnswer> openDialogAnswers;
  std::function<void(const headless::OpenDialogRecord&)> openDialogObserver;
  DWORD commonDialogError = 0;
  // The screen's cursor: the arrow until the first SetCursor.
  bool cursorSet = false;
  HCURSOR cursor = nullptr;
  std::vector<HCURSOR> cursorHistory;
};

Recorder& Records();

}  // namespace headless::detail

#endif

// Stand-in: mouse messages and the callbacks of the host's mouse modes.
#ifndef HEADLESS_MOUSEMAN_H
#define HEADLESS_MOUSEMAN_H
#include <ipoint2.h>
#include <windows.h>

#define MOUSE_ABORT 0
#define MOUSE_IDLE 0
#define MOUSE_POINT 1
#define MOUSE_MOVE 2
#define MOUSE_DBLCLICK 3
#define MOUSE_INIT 4
#define MOUSE_UNINIT 5
#define MOUSE_FREEMOVE 6
#define MOUSE_KEYBOARD 7
#define MOUSE_PROPCLICK 8
#define MOUSE_SNAPCLICK 9

// Receives the mouse events of a command mode in a viewport window: msg is
// one of the MOUSE_ messages, point the number of the click so far, m the
// position in the window.
class MouseCallBack {
 public:
  virtual ~MouseCallBack() = default;
  virtual int proc(HWND, int /*msg*/, int /*point*/, int /*flags*/, IPoint2 /*m*/) { return TRUE; }
  virtual int override(int mode) { return mode; }
};

#endif

// The wrapper of the library's own windows: one window class, "Quillan
// Window", registered while any Window object lives, whose procedure routes
// each window's messages to the WindowProc of the object that made it.
#ifndef MIROVA_WINDOW_H
#define MIROVA_WINDOW_H

#include <max.h>

class Window {
 public:
  HWND hWnd;  // null before Create succeeds and again once the window is destroyed

  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Makes the window unless it exists already (then only reports TRUE).
  virtual BOOL Create(const char* name, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                      HWND parent);
  // Invalidates the whole window, background included.
  virtual void Redraw();
  virtual void Enable(BOOL enable);
  virtual BOOL IsEnabled();
  // A transparent window keeps its background; the rest goes to DefWindowProcA.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  void SetText(const char* text);
  // Up to 255 characters of the window's text.
  CStr GetText();
  void Show();
  void Destroy();
};

LRESULT CALLBACK RouterWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

extern int windowCount;           // live Window objects
extern Window* creatingWindow;    // the object whose Create is under way
extern const char windowClassName[];

#endif

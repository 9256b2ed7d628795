// A test window class whose procedure logs the painting messages and hands
// WM_PAINT to the test, for the painting and drawing tests.
#ifndef MIROVA_TESTS_PAINT_WINDOW_H
#define MIROVA_TESTS_PAINT_WINDOW_H
#include <gtest/gtest.h>
#include <headless.h>

#include <functional>
#include <string>
#include <vector>

namespace paint_test {

struct Heard {
  HWND hwnd;
  UINT msg;
};

class PaintWindows : public testing::Test {
 public:
  static inline PaintWindows* current = nullptr;
  std::vector<Heard> heard;
  std::function<void(HWND, HDC)> onPaint;  // drawn between BeginPaint and EndPaint
  LRESULT eraseAnswer = -1;                // -1: DefWindowProcA erases
  std::vector<PAINTSTRUCT> paints;
  std::vector<HWND> made;
  headless::KeepGdiCalls kept;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    PaintWindows* t = current;
    if (t && (msg == WM_PAINT || msg == WM_ERASEBKGND)) t->heard.push_back({hwnd, msg});
    if (t && msg == WM_ERASEBKGND && t->eraseAnswer >= 0) return t->eraseAnswer;
    if (t && msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      t->paints.push_back(ps);
      if (t->onPaint) t->onPaint(hwnd, hdc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }

  void SetUp() override {
    current = this;
    Register("PaintTest", 0, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    Register("PaintTestOwnDC", CS_OWNDC, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Register("PaintTestNoBrush", 0, nullptr);
  }
  void TearDown() override {
    for (HWND h : made)
      if (IsWindow(h)) DestroyWindow(h);
    for (const char* name : {"PaintTest", "PaintTestOwnDC", "PaintTestNoBrush"})
      UnregisterClassA(name, nullptr);
    current = nullptr;
  }
  static void Register(const char* name, UINT style, HBRUSH background) {
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = name;
    wc.hbrBackground = background;
    ASSERT_NE(RegisterClassA(&wc), 0) << name;
  }
  // A visible window with no frame, so that its client area is its size.
  HWND Make(int width = 40, int height = 40, const char* className = "PaintTest",
            HWND parent = nullptr, int x = 0, int y = 0, DWORD style = WS_VISIBLE) {
    if (parent) style |= WS_CHILD;
    HWND h = CreateWindowExA(0, className, "", style, x, y, width, height, parent, nullptr,
                             nullptr, nullptr);
    made.push_back(h);
    return h;
  }
  // A window painted once, with its display list emptied.
  HWND MakePainted(int width = 40, int height = 40, const char* className = "PaintTest") {
    HWND h = Make(width, height, className);
    headless::PaintPending();
    headless::ClearDisplayList(h);
    heard.clear();
    paints.clear();
    return h;
  }
  std::vector<UINT> HeardBy(HWND h) const {
    std::vector<UINT> messages;
    for (const Heard& m : heard)
      if (m.hwnd == h) messages.push_back(m.msg);
    return messages;
  }
};

inline std::vector<std::string> Ops(const std::vector<headless::GdiCall>& calls) {
  std::vector<std::string> ops;
  for (const headless::GdiCall& c : calls) ops.push_back(c.op);
  return ops;
}

}  // namespace paint_test

#endif

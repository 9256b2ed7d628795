#include "window.h"

#include "mirova.h"

int windowCount = 0;
Window* creatingWindow = nullptr;
const char windowClassName[] = "Quillan Window";

namespace {

void RegisterWindowClass() {
  if (!hInstance) assert1(__LINE__, "window");
  WNDCLASSA wc = {};
  wc.style = CS_OWNDC | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
  wc.lpfnWndProc = RouterWndProc;
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszMenuName = "";
  wc.lpszClassName = windowClassName;
  if (!RegisterClassA(&wc)) assert1(__LINE__, "window");
}

Window* ObjectOf(HWND hwnd) { return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

}  // namespace

LRESULT CALLBACK RouterWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE && creatingWindow) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creatingWindow));
    creatingWindow->hWnd = hwnd;
  }
  Window* object = ObjectOf(hwnd);
  if (!object) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = object->WindowProc(message, wParam, lParam);
  if (message == WM_DESTROY) {
    object->hWnd = nullptr;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  }
  return result;
}

Window::Window() : hWnd(nullptr) {
  if (++windowCount == 1) RegisterWindowClass();
}

Window::~Window() {
  if (hWnd) DestroyWindow(hWnd);
  if (--windowCount == 0) UnregisterClassA(windowClassName, hInstance);
}

BOOL Window::Create(const char* name, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                    HWND parent) {
  if (hWnd) return TRUE;
  creatingWindow = this;
  HWND made = CreateWindowExA(exStyle, windowClassName, name, style, x, y, width, height, parent, nullptr,
                              hInstance, nullptr);
  // A window destroyed while it was being made (its WM_CREATE refused it)
  // already cleared hWnd through the router; keep it cleared.
  hWnd = made;
  return made != nullptr;
}

void Window::Redraw() { RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE); }

void Window::Enable(BOOL enable) {
  EnableWindow(hWnd, enable);
  Redraw();
}

BOOL Window::IsEnabled() { return hWnd && IsWindowEnabled(hWnd); }

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND && (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) return 1;
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

void Window::SetText(const char* text) { SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

CStr Window::GetText() {
  char buffer[256] = "";
  SendMessageA(hWnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  buffer[sizeof buffer - 1] = '\0';
  return CStr(buffer);
}

void Window::Show() { ShowWindow(hWnd, SW_SHOW); }

void Window::Destroy() {
  if (hWnd) DestroyWindow(hWnd);
}

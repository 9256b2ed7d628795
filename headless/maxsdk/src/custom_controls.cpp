// What the custom controls share: their life beside their windows, the count
// of interfaces handed out, the text form of values and the classes'
// registration.
#include "custom_controls.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "records.h"

namespace headless::detail {

const char custEditClass[] = "CustEdit";
const char spinnerClass[] = "SpinnerControl";
const char custButtonClass[] = "CustButton";
WNDPROC systemEditProc = nullptr;

namespace {

// Every live control by the interface it hands out, so that a release can be
// checked without touching what it points at.
std::map<const void*, CustomControl*>& Faces() {
  static std::map<const void*, CustomControl*> faces;
  return faces;
}

}  // namespace

CustomControl::CustomControl(HWND hwnd, const void* face) : hwnd(hwnd), face(face) {
  Faces()[face] = this;
}

CustomControl::~CustomControl() { Faces().erase(face); }

void CustomControl::AttachTo(HWND hwnd, CustomControl* control) {
  SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(control));
}

void CustomControl::WindowGone(HWND hwnd) {
  auto* control = reinterpret_cast<CustomControl*>(GetWindowLongPtrA(hwnd, 0));
  if (!control) return;
  SetWindowLongPtrA(hwnd, 0, 0);
  control->alive = false;
  control->FreeWhenUnused();
}

CustomControl* CustomControl::Of(HWND hwnd, const char* className) {
  if (!IsWindow(hwnd) || !ClassIs(hwnd, className)) return nullptr;
  return reinterpret_cast<CustomControl*>(GetWindowLongPtrA(hwnd, 0));
}

void CustomControl::HandOut() {
  ++out;
  ++SdkRecords().openControlInterfaces;
}

void CustomControl::TakeBack(const void* face) {
  auto it = Faces().find(face);
  if (!face || it == Faces().end() || it->second->out == 0) {
    if (face) ++SdkRecords().unmatchedControlReleases;
    return;
  }
  CustomControl* control = it->second;
  --control->out;
  --SdkRecords().openControlInterfaces;
  control->FreeWhenUnused();
}

void CustomControl::FreeWhenUnused() {
  if (!alive && out == 0 && holds == 0) delete this;
}

std::string FormatFloat(float v, int precision) {
  if (precision < 0) precision = 0;
  if (precision > 6) precision = 6;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", precision, static_cast<double>(v));
  std::string text = buffer;
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text += '0';
  }
  // A value that rounds to zero reads as zero, without a sign.
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
  return text;
}

bool ParseNumber(const std::string& text, float* value) {
  const char* start = text.c_str();
  while (std::isspace(static_cast<unsigned char>(*start))) ++start;
  if (!*start) return false;
  char* end = nullptr;
  double parsed = std::strtod(start, &end);
  while (std::isspace(static_cast<unsigned char>(*end))) ++end;
  if (*end || !std::isfinite(parsed) || std::fabs(parsed) > 3.0e38) return false;
  *value = static_cast<float>(parsed);
  return true;
}

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

bool ClassIs(HWND hwnd, const char* className) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  std::string a = name, b = className;
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

void RegisterCustomControlClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  // The custom edit is the system's edit with the host's ways added.
  WNDCLASSA edit;
  if (GetClassInfoA(nullptr, "Edit", &edit)) systemEditProc = edit.lpfnWndProc;
  struct {
    const char* name;
    WNDPROC proc;
  } const classes[] = {
      {custEditClass, CustEditProc}, {spinnerClass, SpinnerProc}, {custButtonClass, CustButtonProc}};
  for (const auto& c : classes) {
    WNDCLASSA wc = {};
    wc.style = CS_GLOBALCLASS;  // for the dialogs of every module
    wc.lpfnWndProc = c.proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.lpszClassName = c.name;
    RegisterClassA(&wc);
  }
}

}  // namespace headless::detail

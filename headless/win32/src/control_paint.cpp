// How the system and host controls look: drawn with GDI in their default
// WM_PAINT, plainly, from their class, style, text and state, in the font of
// the dialog they belong to.
#include <string>
#include <vector>

#include "font.h"
#include "paint_state.h"
#include "window_table.h"

namespace headless::detail {

namespace {

const COLORREF kText = RGB(0, 0, 0);
const COLORREF kGreyText = RGB(128, 128, 128);
const COLORREF kShadow = RGB(128, 128, 128);
const COLORREF kDark = RGB(64, 64, 64);
const COLORREF kChecked = RGB(255, 214, 120);  // a checked custom button's face

// What a control's painting needs, with a GDI pen and brush it can set.
struct Painter {
  HWND hwnd;
  HDC hdc;
  WindowData* w;
  RECT client;
  int fontSize;
  std::vector<HGDIOBJ> made;

  Painter(HWND h, HDC dc) : hwnd(h), hdc(dc), w(LookUpWindow(h)), client(ClientRectOf(h)),
                            fontSize(ControlFontSize(h)) {
    SelectObject(hdc, FontOfPixelSize(fontSize));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, Enabled() ? kText : kGreyText);
  }
  ~Painter() {
    SelectObject(hdc, GetStockObject(BLACK_PEN));
    SelectObject(hdc, GetStockObject(WHITE_BRUSH));
    for (HGDIOBJ o : made) DeleteObject(o);
  }
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  bool Enabled() const { return !(w->style & WS_DISABLED); }
  int Width() const { return client.right; }
  int Height() const { return client.bottom; }
  int LineHeight() const { return MetricsOf(fontSize).height; }
  int TextWidthOf(const std::string& s) const { return TextWidth(s, fontSize); }

  void Pen(COLORREF c) {
    made.push_back(CreatePen(PS_SOLID, 1, c));
    SelectObject(hdc, made.back());
  }
  void Brush(COLORREF c) {
    made.push_back(CreateSolidBrush(c));
    SelectObject(hdc, made.back());
  }
  void NoBrush() { SelectObject(hdc, GetStockObject(NULL_BRUSH)); }
  void Fill(RECT r, COLORREF c) {
    Brush(c);
    FillRect(hdc, &r, static_cast<HBRUSH>(made.back()));
  }
  void Line(int x0, int y0, int x1, int y1) {
    MoveToEx(hdc, x0, y0, nullptr);
    LineTo(hdc, x1, y1);
  }
  void Text(int x, int y, const std::string& s) {
    TextOutA(hdc, x, y, s.c_str(), static_cast<int>(s.size()));
  }
  // A raised (or sunken) 3D edge inside r.
  void Edge(const RECT& r, bool sunken) {
    Pen(sunken ? kDark : RGB(255, 255, 255));
    Line(r.left, r.bottom - 1, r.left, r.top);
    Line(r.left, r.top, r.right - 1, r.top);
    Pen(sunken ? RGB(255, 255, 255) : kDark);
    Line(r.right - 1, r.top, r.right - 1, r.bottom - 1);
    Line(r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1);
  }
};

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }

// Lines of text: split at line breaks and, when wrapping, between words to
// fit width.
std::vector<std::string> Lines(const std::string& text, bool wrap, int width, int fontSize) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    while (wrap && TextWidth(line, fontSize) > width && line.find(' ') != std::string::npos) {
      size_t cut = line.rfind(' ');
      while (cut != std::string::npos && cut > 0 && TextWidth(line.substr(0, cut), fontSize) > width)
        cut = line.rfind(' ', cut - 1);
      if (cut == std::string::npos || cut == 0) break;
      lines.push_back(line.substr(0, cut));
      line = line.substr(cut + 1);
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

void CentredText(Painter& p, const RECT& r, const std::string& text) {
  int x = r.left + (r.right - r.left - p.TextWidthOf(text)) / 2;
  int y = r.top + (r.bottom - r.top - p.LineHeight()) / 2;
  p.Text(x, y, text);
}

void PaintPushButton(Painter& p, bool pressedIn, COLORREF face) {
  p.Fill(p.client, face);
  RECT r = p.client;
  p.Pen(kText);
  p.NoBrush();
  Rectangle(p.hdc, r.left, r.top, r.right, r.bottom);
  if ((p.w->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    Rectangle(p.hdc, r.left, r.top, r.right, r.bottom);
  }
  p.Edge({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, pressedIn);
  CentredText(p, p.client, p.w->text);
}

void PaintCheckBox(Painter& p, UINT check) {
  p.Fill(p.client, Face());
  int box = 13, top = (p.Height() - box) / 2;
  p.Pen(kDark);
  p.Brush(check == BST_INDETERMINATE ? Face() : RGB(255, 255, 255));
  Rectangle(p.hdc, 0, top, box, top + box);
  if (check == BST_CHECKED) {
    p.Pen(kText);
    for (int d = 0; d < 2; ++d) {  // a tick two pixels thick
      p.Line(3, top + 6 + d, 5, top + 8 + d);
      p.Line(5, top + 8 + d, 10, top + 3 + d);
    }
  }
  p.Text(box + 4, (p.Height() - p.LineHeight()) / 2, p.w->text);
}

void PaintRadioButton(Painter& p, UINT check) {
  p.Fill(p.client, Face());
  int box = 12, top = (p.Height() - box) / 2;
  p.Pen(kDark);
  p.Brush(RGB(255, 255, 255));
  Ellipse(p.hdc, 0, top, box, top + box);
  if (check == BST_CHECKED) {
    p.Pen(kText);
    p.Brush(kText);
    Ellipse(p.hdc, 3, top + 3, box - 3, top + box - 3);
  }
  p.Text(box + 5, (p.Height() - p.LineHeight()) / 2, p.w->text);
}

void PaintGroupBox(Painter& p) {
  p.Fill(p.client, Face());
  int middle = p.LineHeight() / 2;
  p.Pen(kShadow);
  p.NoBrush();
  Rectangle(p.hdc, 0, middle, p.Width(), p.Height());
  if (p.w->text.empty()) return;
  RECT behind = {6, 0, 10 + p.TextWidthOf(p.w->text), p.LineHeight()};
  p.Fill(behind, Face());
  p.Text(8, 0, p.w->text);
}

void PaintButton(Painter& p) {
  UINT check = static_cast<UINT>(SendMessageA(p.hwnd, BM_GETCHECK, 0, 0));
  switch (p.w->style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: PaintCheckBox(p, check); break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: PaintRadioButton(p, check); break;
    case BS_GROUPBOX: PaintGroupBox(p); break;
    default: PaintPushButton(p, false, Face()); break;
  }
}

void PaintStatic(Painter& p) {
  p.Fill(p.client, Face());
  DWORD type = p.w->style & SS_TYPEMASK;
  bool wrap = type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP;
  int y = 0;
  for (const std::string& line : Lines(p.w->text, wrap, p.Width(), p.fontSize)) {
    int x = 0;
    if (type == SS_CENTER) x = (p.Width() - p.TextWidthOf(line)) / 2;
    if (type == SS_RIGHT) x = p.Width() - p.TextWidthOf(line);
    p.Text(x, y, line);
    y += p.LineHeight();
  }
  if (p.w->style & SS_SUNKEN) p.Edge(p.client, true);
}

void PaintEdit(Painter& p) {
  bool plain = p.Enabled() && !(p.w->style & ES_READONLY);
  p.Fill(p.client, plain ? RGB(255, 255, 255) : Face());
  bool multiline = (p.w->style & ES_MULTILINE) != 0;
  bool wrap = multiline && !(p.w->style & ES_AUTOHSCROLL);
  std::vector<std::string> lines =
      multiline ? Lines(p.w->text, wrap, p.Width() - 4, p.fontSize) : std::vector<std::string>{p.w->text};
  int y = multiline ? 1 : (p.Height() - p.LineHeight()) / 2;
  for (const std::string& line : lines) {
    p.Text(2, y, line);
    y += p.LineHeight();
  }
}

// Two arrow buttons, up over down.
void PaintSpinner(Painter& p) {
  int half = p.Height() / 2;
  RECT up = {0, 0, p.Width(), half}, down = {0, half, p.Width(), p.Height()};
  p.Fill(p.client, Face());
  p.Edge(up, false);
  p.Edge(down, false);
  p.Pen(p.Enabled() ? kText : kGreyText);
  int cx = p.Width() / 2;
  for (int row = 0; row < 3; ++row) {
    int upY = (half - 3) / 2 + row, downY = half + (p.Height() - half - 3) / 2 + 2 - row;
    p.Line(cx - row, upY, cx + row + 1, upY);
    p.Line(cx - row, downY, cx + row + 1, downY);
  }
}

void PaintCustButton(Painter& p) {
  // The button tells its checked state as a check box does.
  bool checked = SendMessageA(p.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
  PaintPushButton(p, checked, checked ? kChecked : Face());
}

}  // namespace

bool IsPaintedControl(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return false;
  for (const char* name : {"Button", "Static", "Edit", "CustEdit", "SpinnerControl", "CustButton"})
    if (SameName(w->windowClass->name, name)) return true;
  return false;
}

void ControlChanged(HWND hwnd) {
  if (IsPaintedControl(hwnd)) InvalidateRect(hwnd, nullptr, TRUE);
}

int ControlFontSize(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  WindowData* parent = w ? LookUpWindow(w->parent) : nullptr;
  if (parent && parent->origin.fontSize > 0) return PixelSizeOfPoints(parent->origin.fontSize);
  return PixelSizeOfPoints(8);
}

void PaintControl(HWND hwnd, HDC hdc) {
  Painter p(hwnd, hdc);
  const std::string& name = p.w->windowClass->name;
  if (SameName(name, "Button"))
    PaintButton(p);
  else if (SameName(name, "Static"))
    PaintStatic(p);
  else if (SameName(name, "Edit") || SameName(name, "CustEdit"))
    PaintEdit(p);
  else if (SameName(name, "SpinnerControl"))
    PaintSpinner(p);
  else if (SameName(name, "CustButton"))
    PaintCustButton(p);
}

}  // namespace headless::detail

// Stand-in for wingdi.h: colours, stock objects, pens, brushes, device
// context state and the drawing calls (headless/win32/src/gdi*.cpp).
// Headless, every call on a device context is recorded in its window's
// display list and drawn into the window's picture (headless_gdi.h).
#ifndef HEADLESS_WINGDI_H
#define HEADLESS_WINGDI_H
#include <windef.h>

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// Pen styles.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

#define CLR_INVALID 0xFFFFFFFF

#ifndef RC_INVOKED

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;

HGDIOBJ GetStockObject(int object);
// Stand-in: every style but PS_NULL draws solid; the width is kept and drawn
// one pixel wide.
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
// The previously selected object of the same kind; null for a bad handle.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
// Stock objects stay; an object still selected into a device context is not
// deleted (FALSE).
BOOL DeleteObject(HGDIOBJ object);

int SetBkMode(HDC hdc, int mode);  // the previous mode; 0 on failure
int GetBkMode(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);  // the previous colour
COLORREF SetBkColor(HDC hdc, COLORREF color);

// Fills [left, right) x [top, bottom) with the brush and outlines it with the
// pen inside that rectangle.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous);
// Draws from the current position up to, not including, (x, y), which
// becomes the current position.
BOOL LineTo(HDC hdc, int x, int y);
// The text's cell has its top-left corner at (x, y); an OPAQUE background
// fills the cell with the background colour first.
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length);
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size);

#endif  // RC_INVOKED

#endif  // HEADLESS_WINGDI_H

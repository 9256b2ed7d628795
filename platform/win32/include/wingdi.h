// Stand-in for wingdi.h: colours, pens, brushes and text.
#ifndef STANDIN_WINGDI_H
#define STANDIN_WINGDI_H
#include <windef.h>

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

#endif  // STANDIN_WINGDI_H

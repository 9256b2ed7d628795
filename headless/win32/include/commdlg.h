// Stand-in for the common dialogs header: the open-file dialog.
#ifndef HEADLESS_COMMDLG_H
#define HEADLESS_COMMDLG_H
#include <windows.h>

#define OFN_READONLY 0x00000001
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_CREATEPROMPT 0x00002000
#define OFN_EXPLORER 0x00080000

// CommDlgExtendedError codes.
#define FNERR_BUFFERTOOSMALL 0x3003

#ifndef RC_INVOKED
typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
} OPENFILENAMEA, *LPOPENFILENAMEA;
typedef OPENFILENAMEA OPENFILENAME;

// Headless: answered by the scripted user (a path, or cancel; no answer
// cancels). The dialog holds to its flags: with OFN_FILEMUSTEXIST or
// OFN_PATHMUSTEXIST it turns down a path that does not exist and takes the
// user's next answer. A name without an extension gets lpstrDefExt.
BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
// Why the last common dialog failed; 0 when the user cancelled.
DWORD CommDlgExtendedError();
#endif
#endif

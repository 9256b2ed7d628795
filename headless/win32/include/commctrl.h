// Stand-in for the common controls header.
#ifndef HEADLESS_COMMCTRL_H
#define HEADLESS_COMMCTRL_H
#include <windows.h>
#ifndef RC_INVOKED
void InitCommonControls();
#endif
#endif

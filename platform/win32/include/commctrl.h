// Stand-in for the common controls header.
#ifndef STANDIN_COMMCTRL_H
#define STANDIN_COMMCTRL_H
#include <windows.h>
#ifndef RC_INVOKED
void InitCommonControls();
#endif
#endif

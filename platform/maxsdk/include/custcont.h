// Stand-in: the host's custom controls.
#ifndef STANDIN_CUSTCONT_H
#define STANDIN_CUSTCONT_H
#include <windows.h>

// Registers the host's custom control window classes for the module.
void InitCustomControls(HINSTANCE hInst);

#endif

// Stand-in for the host SDK's umbrella header.
#ifndef STANDIN_MAX_H
#define STANDIN_MAX_H
#include <windows.h>
#include <commctrl.h>
#include <maxtypes.h>
#include <strclass.h>
#include <utillib.h>
#include <plugapi.h>
#include <maxapi.h>
#include <custcont.h>
#endif

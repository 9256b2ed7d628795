// Stand-in for the host SDK's umbrella header.
#ifndef HEADLESS_MAX_H
#define HEADLESS_MAX_H
#include <windows.h>
#include <commctrl.h>
#include <maxtypes.h>
#include <strclass.h>
#include <utillib.h>
#include <plugapi.h>
#include <maxapi.h>
#include <custcont.h>
#include <point2.h>
#include <point3.h>
#include <matrix3.h>
#include <quat.h>
#include <box2.h>
#include <interval.h>
#include <animatable.h>
#include <ref.h>
#include <control.h>
#include <cmdmode.h>
#endif

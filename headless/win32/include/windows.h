// Stand-in for the Win32 headers: the names, constants and signatures the
// library uses, with headless behaviour behind them (headless/win32/src),
// split into the headers Windows splits them into. Constants are macros, as
// in the real headers, so that a resource script can include this file under
// RC_INVOKED.
#ifndef HEADLESS_WINDOWS_H
#define HEADLESS_WINDOWS_H

#include <windef.h>
#include <winerror.h>
#include <winbase.h>
#include <wingdi.h>
#include <winuser.h>
#include <winver.h>

#endif  // HEADLESS_WINDOWS_H

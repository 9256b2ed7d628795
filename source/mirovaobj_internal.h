// What the expression object's source files share.
#ifndef MIROVA_MIROVAOBJ_INTERNAL_H
#define MIROVA_MIROVAOBJ_INTERNAL_H
#include <utillib.h>

// An internal error of the expression object, reported through the host's
// assertion routine under this module's name.
#define ObjAssert(expr) ((expr) ? (void)0 : assert1(__LINE__, "mirovaobj"))

#endif

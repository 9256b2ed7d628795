// Library-wide declarations: the module handle and the plug-in exports.
#ifndef MIROVA_MIROVA_H
#define MIROVA_MIROVA_H
#include <max.h>

#ifdef _WIN32
#define MIROVA_EXPORT extern "C" __declspec(dllexport)
#else
#define MIROVA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The module instance handle given to the last DllMain call; every rollup,
// dialog, menu and window class of the library's resources is made with it.
extern HINSTANCE hInstance;

#ifdef _WIN32
// Windows calls the entry point through the C runtime's start-up code, not
// through the export table, which holds the four exports alone.
extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, ULONG reason, LPVOID reserved);
#else
MIROVA_EXPORT BOOL WINAPI DllMain(HINSTANCE hinstDLL, ULONG reason, LPVOID reserved);
#endif
MIROVA_EXPORT const TCHAR* LibDescription();
MIROVA_EXPORT int LibNumberClasses();
MIROVA_EXPORT ClassDesc* LibClassDesc(int i);
MIROVA_EXPORT ULONG LibVersion();

#endif

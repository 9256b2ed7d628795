// Stand-in for winbase.h: modules and the thread's last error.
#ifndef HEADLESS_WINBASE_H
#define HEADLESS_WINBASE_H
#include <windef.h>

// DllMain reasons.
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#ifndef RC_INVOKED

typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID);

// Modules. LoadLibraryA maps the module and calls its DllMain with
// DLL_PROCESS_ATTACH after its static objects are built; FreeLibrary calls it
// with DLL_PROCESS_DETACH before they are destroyed. GetModuleHandleA(NULL)
// is the program itself.
HMODULE LoadLibraryA(LPCSTR fileName);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
HMODULE GetModuleHandleA(LPCSTR moduleName);
DWORD GetLastError();
void SetLastError(DWORD error);

#endif  // RC_INVOKED

#endif  // HEADLESS_WINBASE_H

#include <windows.h>

// Loading and unloading run none of the library's own logic: everything the
// library does starts from an entry point the host calls.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

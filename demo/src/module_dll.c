/* The one source behind every small DLL of the demo payload: the simulator
 * modules, the shared interface module and the icon library. What tells the
 * copies apart is their resources (version block, icons), which is all the
 * setup program ever looks at. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

/* Gives a loaded copy a way to say which file it was built as, so a check that
 * loads one can be sure it got the file it meant. */
__declspec(dllexport) const char *ksModuleName(void)
{
    return KS_MODULE_NAME;
}

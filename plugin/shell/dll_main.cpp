/* The Windows loader's entry point. All set-up waits for the host's "Startup" message, where the host's
 * services are available; nothing may be done here. */
#ifdef _WIN32

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

#endif

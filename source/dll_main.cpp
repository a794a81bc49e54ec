#include "source/handlers.h"
#include "twain/session.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_twain.instance = instance;
        StartUp();
    }
    return TRUE;
}

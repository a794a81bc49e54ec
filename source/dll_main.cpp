#include "profile/module_instance.h"
#include "session/session.h"
#include "source/handlers.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_moduleInstance = instance;
        StartUp();
    }
    return TRUE;
}

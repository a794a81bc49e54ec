#include "ui/window_class.h"

#include "profile/module_instance.h"

void RegisterOwnClass(const wchar_t* name, WNDPROC procedure, HCURSOR cursor, HBRUSH background) {
    WNDCLASSW windowClass{};
    if (GetClassInfoW(g_moduleInstance, name, &windowClass)) return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = g_moduleInstance;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

#include "ui/window_class.h"

#include <vector>

#include "profile/module_instance.h"

namespace {

std::vector<const wchar_t*> g_registered;

}  // namespace

void RegisterOwnClass(const wchar_t* name, WNDPROC procedure, HCURSOR cursor, HBRUSH background) {
    WNDCLASSW windowClass{};
    if (GetClassInfoW(g_moduleInstance, name, &windowClass)) return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = g_moduleInstance;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (RegisterClassW(&windowClass)) g_registered.push_back(name);
}

void UnregisterOwnClasses() {
    for (const wchar_t* name : g_registered) UnregisterClassW(name, g_moduleInstance);
    g_registered.clear();
}

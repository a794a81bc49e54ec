// The classes of the data source's own windows, registered on first use for
// the loaded module and unregistered when their windows are gone, so that no
// class outlives the module's code.
#pragma once

#include <windows.h>

// Registers the module's class `name` with `procedure`, the pointer `cursor`
// (null: the window sets its own) and the `background` brush (null: none),
// unless it is registered already.
void RegisterOwnClass(const wchar_t* name, WNDPROC procedure, HCURSOR cursor, HBRUSH background = nullptr);

// Unregisters every class registered above (their windows destroyed first).
void UnregisterOwnClasses();

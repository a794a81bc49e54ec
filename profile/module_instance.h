// The library whose resources (texts, dialogs, bitmaps, cursors) the code
// reads: the data source, recorded once when it is loaded.
#pragma once

#include <windows.h>

inline HINSTANCE g_moduleInstance = nullptr;

// The custom-value dialogs of the main page.
#pragma once

#include <windows.h>

#include <cstdint>

// "CUSTOM": a resolution of the user's own, applied while it is edited (the
// page's figures follow); OK adds it to the resolution menu, Cancel restores
// the resolution it started from. `page` is the main page.
void RunCustomResolutionDialog(HWND page);

// "CUSTOMSCAL": an output scaling of the user's own, 1 .. min(240000 /
// resolution, 600) percent; the old value after Cancel.
uint16_t RunCustomScalingDialog(HWND owner);

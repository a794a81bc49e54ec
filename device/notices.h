// The two modeless notices the scanner layer shows while it waits: "The
// scanner is not ready. / Please wait..." and "Warming Up...", each from the
// template of the current language.
#pragma once

#include <windows.h>

HWND OpenNotReadyNotice();
HWND OpenWarmingUpNotice();
void CloseNotice(HWND& notice);

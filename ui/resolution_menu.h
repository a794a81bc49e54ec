// The resolution menu of the main page: the menu resource for the current
// destination, mode and model in the current language, with the user's own
// resolutions before its "Custom" item and the current resolution checked.
#pragma once

#include <windows.h>

#include <cstdint>

// Loads the menu again (after a change of destination, mode or language).
void ReloadResolutionMenu();
void DestroyResolutionMenu();

// The menu as it is shown (null before the first load).
HMENU ResolutionMenu();

// Opens the menu under `field`; its commands go to `owner`.
void OpenResolutionMenu(HWND owner, HWND field);

// Sets the resolution a menu command stands for, with its dpiScale; false
// for a command that is not a resolution or a value beyond the limits.
bool ChooseMenuResolution(int command);

// Marks the item showing `value`; when no item shows it, it becomes the
// newest of the user's five resolutions (the oldest dropped when all five
// exist), is stored as CustomRes and is marked.
void AddCustomResolution(uint16_t value);

// The highest resolutions the menu and the custom dialog allow with the
// scanner, the transfer mechanism and the feeder in use.
uint16_t MaxMenuResolution();
uint16_t MaxCustomResolution();

// Sets `resolution` and what follows from it: the interpolation flag, and in
// 36-bit colour the main dialog's Scan button (off above 600 dpi).
void ApplyResolution(HWND page, uint16_t resolution);

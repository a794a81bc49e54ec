// Buttons of the pages that show a picture instead of a text.
#pragma once

#include <windows.h>

// Shows the bitmap resource `name` on button `control` of `page`; the
// picture shown before is released.
void SetButtonPicture(HWND page, int control, const wchar_t* name);
// Releases the pictures of every button of `page` (when it is destroyed).
void ReleaseButtonPictures(HWND page);

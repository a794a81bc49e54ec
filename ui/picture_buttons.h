// Buttons of the pages that show a picture instead of a text, and the
// request a page's scroll bar message carries.
#pragma once

#include <windows.h>

#include "engine/tone_page_rules.h"

// Shows the bitmap resource `name` on button `control` of `page`; the
// picture shown before is released.
void SetButtonPicture(HWND page, int control, const wchar_t* name);
// Releases the pictures of every button of `page` (when it is destroyed).
void ReleaseButtonPictures(HWND page);

// The request of a WM_HSCROLL's wParam; `thumb` receives the position of a
// thumb request (signed: the colour bars go below zero).
pages::ScrollRequest ScrollRequestOf(WPARAM wParam, int& thumb);

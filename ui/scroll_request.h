// The request a page's scroll bar message carries, in the terms of the
// pages' rules.
#pragma once

#include <windows.h>

#include "engine/tone_page_rules.h"

// The request of a WM_HSCROLL's wParam; `thumb` receives the position of a
// thumb request (signed: the colour bars go below zero).
pages::ScrollRequest ScrollRequestOf(WPARAM wParam, int& thumb);

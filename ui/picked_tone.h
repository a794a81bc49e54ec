// What a click of the pick tools does with the pixel the "Color" window
// shows: it becomes the highlight or the shadow of the channels.
#pragma once

#include <windows.h>

#include "engine/preview_pick.h"

// `dialog` is the main dialog. With the Enhancements page showing, the
// value of its channel is typed into its Highlight or Shadow field (the
// field's rules apply) and the other colour channels of the page's settings
// are set directly; otherwise the live settings take the values (colour:
// red, green and blue; grey: the master channel) and the preview is
// processed with them.
void ApplyPickedPixel(HWND dialog, const preview::PickedPixel& pixel, bool highlight);

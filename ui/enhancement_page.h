// The Enhancements page (template 505): the channel, its highlight, shadow
// and gamma as bars and fields, the tone curve over the histogram of the
// preview under the frame, Auto, the thumbnails and Preview.
#pragma once

#include <windows.h>

// Timer of the page: repeats the histogram's plus and minus while held.
constexpr UINT_PTR kScaleRepeatTimer = 11;

HWND CreateEnhancementPage(HWND dialog);

// The labels and channel names in the current language.
void FillEnhancementTexts(HWND page);

// The shown page after the settings were loaded, reset or restored: the
// edits not yet applied give way to them.
void RefreshEnhancementPage(HWND page);

// The shown page takes the preview under the frame again: thumbnails and,
// when it is shown, the histogram.
void RecropEnhancementPage(HWND page);

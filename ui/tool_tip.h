// Tool tips of the main dialog's icons: a small window of the class
// "Tooltips Class" that shows one line of text on light yellow. It closes
// itself on the first tick of its timer at least 3 seconds after it showed,
// or as soon as the mouse moves over it.
#pragma once

#include <windows.h>

#include <string>

// Registered when the main dialog is created.
void RegisterToolTipClass();

// Shows `text` in the dialog's font with its top-left corner at `screenPoint`,
// replacing a tip still shown; the tip window.
HWND ShowToolTip(HWND owner, const std::wstring& text, POINT screenPoint);

// Closes the tip, if one is shown (when the mouse leaves the icon).
void CloseToolTip();

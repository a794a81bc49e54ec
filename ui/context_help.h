// Context help from the quick-help button: a click on the button turns the
// pointer into the help cursor; the next click names a control, whose help
// topic pops up from the help file of the current language.
#pragma once

#include <windows.h>

#include <string>

// The help file of a language index: CSHLP_U, _D, _F, _I, _E, _N for 0..5,
// CSHLP_U for any other (both Chinese languages), in the installation
// directory.
std::string HelpFileFor(int languageIndex);

// The help context of a control of the main dialog (`page` 0) or of one of
// its pages (the page's template number); 0 when it has none.
unsigned HelpContextFor(int page, int control);

// Draws the owner-drawn quick-help button with its picture, pressed or not.
void DrawQuickHelpButton(const DRAWITEMSTRUCT& item);

// Help mode: the help cursor is shown and the mouse captured by `dialog`.
void EnterHelpMode(HWND dialog);
bool InHelpMode();
void KeepHelpCursor();

// The click that ends help mode, at `clientPoint` of `dialog`: the control
// under it is looked up with `pageOf` (the page number of a window, 0 for
// the main dialog itself, -1 for any other window) and its topic shown; a
// control without a topic shows the help file's contents.
void HelpModeClick(HWND dialog, POINT clientPoint, int (*pageOf)(HWND));

// Ends help mode without a topic: cursor restored, capture released.
void LeaveHelpMode(HWND dialog);

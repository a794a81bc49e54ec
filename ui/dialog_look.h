// The look the main dialog, its pages and its small dialogs share: a
// light-grey background behind the dialog and every control.
#pragma once

#include <windows.h>

constexpr COLORREF kDialogGrey = RGB(192, 192, 192);

// The one grey brush: made when the main dialog is created, deleted when it
// closes. Creating it again while it exists keeps the first.
void CreateGreyBrush();
void DeleteGreyBrush();

// The answer of a dialog procedure to a control-colour message: the grey
// brush, with the text background set to grey. FALSE (the system's colours)
// for any other message, or while no brush exists.
INT_PTR PaintGrey(UINT message, WPARAM wParam);

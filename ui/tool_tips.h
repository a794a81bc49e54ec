// Tool tips of the main page's icons: a small light-yellow window with one
// line of text, of the class "Tooltips Class". It closes itself on the first
// tick of its 200 ms timer that comes 3 seconds after it was shown, or as soon
// as the mouse moves over it.
#pragma once

#include <windows.h>

#include <string>

constexpr UINT_PTR kToolTipTimer = 100;

// Registers the window class (once per module) and removes it again before
// the module can be unloaded, so that no class outlives its window procedure.
void RegisterToolTipClass(HINSTANCE instance);
void UnregisterToolTipClass(HINSTANCE instance);

// Shows `text` in `font` with its top-left corner at `screenPoint`, for the
// window `owner`. When the mouse comes over the tip, the tip closes and tells
// `owner` that the mouse left the control: WM_SETCURSOR with `owner` itself
// as the window under the mouse. Returns the tip window.
HWND ShowToolTip(HWND owner, POINT screenPoint, const std::wstring& text, HFONT font);

#include "ui/dialog_look.h"

namespace {

HBRUSH g_greyBrush = nullptr;

}  // namespace

void CreateGreyBrush() {
    if (!g_greyBrush) g_greyBrush = CreateSolidBrush(kDialogGrey);
}

void DeleteGreyBrush() {
    if (g_greyBrush) DeleteObject(g_greyBrush);
    g_greyBrush = nullptr;
}

INT_PTR PaintGrey(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            if (!g_greyBrush) return FALSE;
            SetBkColor(reinterpret_cast<HDC>(wParam), kDialogGrey);
            return reinterpret_cast<INT_PTR>(g_greyBrush);
        default:
            return FALSE;
    }
}

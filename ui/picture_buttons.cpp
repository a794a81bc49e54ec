#include "ui/picture_buttons.h"

#include "profile/module_instance.h"

void SetButtonPicture(HWND page, int control, const wchar_t* name) {
    HBITMAP picture = LoadBitmapW(g_moduleInstance, name);
    HANDLE previous = reinterpret_cast<HANDLE>(
        SendDlgItemMessageW(page, control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    if (previous && previous != picture) DeleteObject(previous);
}

void ReleaseButtonPictures(HWND page) {
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & BS_BITMAP) == 0) continue;
        HANDLE picture = reinterpret_cast<HANDLE>(SendMessageW(child, BM_SETIMAGE, IMAGE_BITMAP, 0));
        if (picture) DeleteObject(picture);
    }
}

pages::ScrollRequest ScrollRequestOf(WPARAM wParam, int& thumb) {
    thumb = static_cast<short>(HIWORD(wParam));
    switch (LOWORD(wParam)) {
        case SB_LINELEFT: return pages::ScrollRequest::kLineLess;
        case SB_LINERIGHT: return pages::ScrollRequest::kLineMore;
        case SB_PAGELEFT: return pages::ScrollRequest::kPageLess;
        case SB_PAGERIGHT: return pages::ScrollRequest::kPageMore;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return pages::ScrollRequest::kThumb;
        case SB_LEFT: return pages::ScrollRequest::kToStart;
        case SB_RIGHT: return pages::ScrollRequest::kToEnd;
        default: return pages::ScrollRequest::kOther;
    }
}

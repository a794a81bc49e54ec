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
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Button") != 0 || (GetWindowLongW(child, GWL_STYLE) & BS_BITMAP) == 0) continue;
        HANDLE picture = reinterpret_cast<HANDLE>(SendMessageW(child, BM_SETIMAGE, IMAGE_BITMAP, 0));
        if (picture) DeleteObject(picture);
    }
}

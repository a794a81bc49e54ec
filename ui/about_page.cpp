#include "ui/about_page.h"

#include <string>

#include "device/device.h"
#include "device/inquiry.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "ui/dialog_look.h"

namespace {

void SetText(HWND page, int control, const std::wstring& text) { SetDlgItemTextW(page, control, text.c_str()); }

// The picture's bitmap, owned by the page until it is destroyed.
void SetPicture(HWND page, bool brand) {
    HBITMAP bitmap = LoadBitmapW(g_moduleInstance, brand ? L"IDB_ABOUT_BRAND" : L"IDB_ABOUT_NOBRAND");
    HANDLE old = reinterpret_cast<HANDLE>(SendDlgItemMessageW(page, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                                              reinterpret_cast<LPARAM>(bitmap)));
    if (old) DeleteObject(old);
}

void DeletePicture(HWND page) {
    HANDLE old = reinterpret_cast<HANDLE>(
        SendDlgItemMessageW(page, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0));
    if (old) DeleteObject(old);
}

// A sunken frame one pixel outside the picture.
void PaintPictureFrame(HWND page) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    RECT rect;
    GetWindowRect(GetDlgItem(page, IDC_ABOUT_PICTURE), &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    InflateRect(&rect, 1, 1);
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    EndPaint(page, &paint);
}

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            FillAboutPage(page);
            return FALSE;
        case WM_PAINT:
            PaintPictureFrame(page);
            return TRUE;
        case WM_DESTROY:
            DeletePicture(page);
            return FALSE;
        default:
            return PaintGrey(message, wParam);
    }
}

}  // namespace

HWND CreateAboutPage(HWND mainDialog) {
    return CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_PAGE_ABOUT), mainDialog, AboutPageProc, 0);
}

void FillAboutPage(HWND page) {
    const bool brand = IsTellarisBrand(BrandText());
    const std::wstring product = (brand ? L"Tellaris " : L"") + Widen(ModelDisplayText());
    SetText(page, IDC_ABOUT_PRODUCT, product);
    SetText(page, IDC_ABOUT_VERSION, product + L" " + LoadText(TXT_TWAIN_LABEL) + Widen(SoftwareVersionText()));
    SetText(page, IDC_ABOUT_FIRMWARE, LoadText(TXT_FIRMWARE) + Widen(FirmwareRevisionText(g_device.blocks.inquiry)));
    SetText(page, IDC_ABOUT_MAKER, brand ? LoadText(TXT_MAKER_LINE) : L"");
    SetPicture(page, brand);
}

#include "ui/main_page.h"

#include "resources/resource_ids.h"
#include "twain/session.h"
#include "ui/dialog_look.h"

namespace {

INT_PTR CALLBACK MainPageProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return FALSE;
    return PaintGrey(message, wParam);
}

}  // namespace

HWND CreateMainPage(HWND mainDialog) {
    return CreateDialogParamW(g_twain.instance, MAKEINTRESOURCEW(IDD_PAGE_MAIN), mainDialog, MainPageProc, 0);
}

void RefreshMainPage(HWND) {}

void UpdateScanAreaFigures(HWND) {}

#include "device/notices.h"

#include "device/window_placement.h"
#include "profile/language.h"
#include "profile/module_instance.h"
#include "resources/resource_ids.h"

namespace {

INT_PTR CALLBACK NoticeProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Template for the current language: English (and any unknown index) has its
// own number, languages 1..7 follow one another from `first`.
int TemplateFor(int english, int first) {
    int index = g_language.index;
    return index >= 1 && index <= 7 ? first + index - 1 : english;
}

HWND OpenNotice(int templateId) {
    HWND notice = CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(templateId), nullptr, NoticeProc, 0);
    if (!notice) return nullptr;
    PlaceAtUpperThird(notice);
    ShowWindow(notice, SW_SHOWNOACTIVATE);
    UpdateWindow(notice);
    return notice;
}

}  // namespace

HWND OpenNotReadyNotice() { return OpenNotice(TemplateFor(IDD_NOT_READY_EN, IDD_NOT_READY_FIRST)); }

HWND OpenWarmingUpNotice() { return OpenNotice(TemplateFor(IDD_WARMING_UP_EN, IDD_WARMING_UP_FIRST)); }

void CloseNotice(HWND& notice) {
    if (notice) DestroyWindow(notice);
    notice = nullptr;
}

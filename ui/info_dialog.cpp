#include "ui/info_dialog.h"

#include <string>

#include "engine/frame_units.h"
#include "engine/information_fields.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "ui/dialog_look.h"

namespace {

struct Label {
    int control;
    int textNumber;
};

const Label kLabels[] = {
    {IDC_INFO_MODE_LABEL, TXT_LABEL_SCAN_MODE},
    {IDC_INFO_SOURCE_LABEL, TXT_LABEL_SCAN_SOURCE},
    {IDC_INFO_RESOLUTION_LABEL, TXT_RESOLUTION},
    {IDC_INFO_DESTINATION_LABEL, TXT_LABEL_DESTINATION},
    {IDC_INFO_DESCREEN_LABEL, TXT_LABEL_DESCREEN},
    {IDC_INFO_MATCHING_LABEL, TXT_LABEL_OUTPUT_MATCHING},
    {IDC_INFO_WIDTH_LABEL, TXT_LABEL_WIDTH},
    {IDC_INFO_LENGTH_LABEL, TXT_LABEL_LENGTH},
    {IDC_INFO_SCALING_LABEL, TXT_OUTPUT_SCALING},
    {IDC_INFO_FILTER_LABEL, TXT_LABEL_FILTER},
    {IDC_INFO_RED_HEADING, TXT_CHANNEL_RED},
    {IDC_INFO_RED_HEADING + 1, TXT_CHANNEL_GREEN},
    {IDC_INFO_RED_HEADING + 2, TXT_CHANNEL_BLUE},
    {IDC_INFO_RED_HEADING + 3, TXT_CHANNEL_MASTER},
    {IDC_INFO_HIGHLIGHT_LABEL, TXT_LABEL_HIGHLIGHT},
    {IDC_INFO_SHADOW_LABEL, TXT_LABEL_SHADOW},
    {IDC_INFO_GAMMA_LABEL, TXT_LABEL_GAMMA},
    {IDC_INFO_BALANCE_LABEL, TXT_LABEL_COLOR_BALANCE},
    {IDC_INFO_BALANCE_CR_LABEL, TXT_BALANCE_CR},
    {IDC_INFO_BALANCE_MG_LABEL, TXT_BALANCE_MG},
    {IDC_INFO_BALANCE_YB_LABEL, TXT_BALANCE_YB},
    {IDC_INFO_SATURATION_LABEL, TXT_LABEL_SATURATION},
};

const int kGroupFrames[] = {IDC_INFO_GROUP_SETTINGS, IDC_INFO_GROUP_TONE, IDC_INFO_GROUP_COLOUR};

void PaintGroupFrames(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    for (int frame : kGroupFrames) {
        RECT rect;
        GetWindowRect(GetDlgItem(dialog, frame), &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT);
    }
    EndPaint(dialog, &paint);
}

INT_PTR CALLBACK InformationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            FillInformationDialog(dialog);
            return TRUE;
        case WM_PAINT:
            PaintGroupFrames(dialog);
            return TRUE;
        case WM_LBUTTONUP:
            EndDialog(dialog, IDOK);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return PaintGrey(message, wParam);
    }
}

}  // namespace

void RunInformationDialog(HWND owner) {
    DialogBoxParamW(g_moduleInstance, L"NEWINFODLG", owner, InformationProc, 0);
}

void FillInformationDialog(HWND dialog) {
    SetWindowTextW(dialog, LoadText(TXT_INFORMATION).c_str());
    for (const Label& label : kLabels) SetDlgItemTextW(dialog, label.control, LoadText(label.textNumber).c_str());
    const ScanSettings& s = g_scanSettings;
    for (const InformationField& field : InformationFields(s, FrameWidthInches(s.frame), FrameLengthInches(s.frame))) {
        const std::wstring text = field.textNumber ? LoadText(field.textNumber) : Widen(field.value);
        SetDlgItemTextW(dialog, field.control, text.c_str());
    }
}

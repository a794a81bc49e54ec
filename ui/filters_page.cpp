#include "ui/filters_page.h"

#include <vector>

#include "imaging/dib_filters.h"
#include "imaging/filter_common.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/dialog_look.h"
#include "ui/page_thumbnails.h"

namespace {

// A 24-bit bottom-up picture.
struct Picture {
    std::vector<uint8_t> bits;
    uint32_t width = 0;
    uint32_t height = 0;
};

struct FiltersPage {
    Picture original;  // the stored sample picture
    Picture sample;    // the original through the chosen filter
};

FiltersPage g_filters;

// The bitmap resource as it is stored: its header, then the rows.
Picture LoadSamplePicture() {
    Picture picture;
    HRSRC found = FindResourceW(g_moduleInstance, L"IDB_NONEDN", MAKEINTRESOURCEW(2));  // RT_BITMAP
    HGLOBAL loaded = found ? LoadResource(g_moduleInstance, found) : nullptr;
    const auto* header = loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
    if (!header || header->biBitCount != 24 || header->biWidth <= 0 || header->biHeight <= 0) return picture;
    const size_t size = filters::DibRowStride(header->biWidth, 24) * static_cast<size_t>(header->biHeight);
    if (SizeofResource(g_moduleInstance, found) < header->biSize + size) return picture;
    const auto* bits = reinterpret_cast<const uint8_t*>(header) + header->biSize;
    picture.bits.assign(bits, bits + size);
    picture.width = static_cast<uint32_t>(header->biWidth);
    picture.height = static_cast<uint32_t>(header->biHeight);
    return picture;
}

void MakeSample(HWND page) {
    g_filters.sample = g_filters.original;
    Picture& sample = g_filters.sample;
    if (!sample.bits.empty())
        filters::FilterDib({sample.bits.data(), sample.width, sample.height, 24, sample.bits.size()},
                           g_scanSettings.filterMode, {});
    InvalidateRect(GetDlgItem(page, IDC_FP_SAMPLE), nullptr, FALSE);
}

void CheckChosen(HWND page) {
    CheckRadioButton(page, IDC_FP_NONE, IDC_FP_LAST, IDC_FP_NONE + g_scanSettings.filterMode);
}

void Chosen(HWND page, int control) {
    if (control < IDC_FP_NONE || control > IDC_FP_LAST) return;
    g_scanSettings.filterMode = static_cast<uint16_t>(control - IDC_FP_NONE);
    MakeSample(page);
}

void Draw(const DRAWITEMSTRUCT& item) {
    const Picture& picture = item.CtlID == IDC_FP_SAMPLE ? g_filters.sample : g_filters.original;
    DrawFramedPicture(item.hDC, item.rcItem, picture.bits.empty() ? nullptr : picture.bits.data(), picture.width,
                      picture.height);
}

INT_PTR CALLBACK FiltersPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FillFiltersTexts(page);
            g_filters.original = LoadSamplePicture();
            AdaptFiltersToMode(page, false);
            return FALSE;
        case WM_SHOWWINDOW:
            if (wParam && lParam == 0) {
                CheckChosen(page);
                MakeSample(page);
            }
            return FALSE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) Chosen(page, LOWORD(wParam));
            return TRUE;
        case WM_DRAWITEM: Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_DESTROY: g_filters = {}; return FALSE;
        default: return PaintGrey(message, wParam);
    }
}

}  // namespace

HWND CreateFiltersPage(HWND dialog) {
    return CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_PAGE_FILTERS), dialog, FiltersPageProc, 0);
}

void FillFiltersTexts(HWND page) {
    // Button 6005 + filterMode; Emboss (7) and UnSharp Mask (8) have their
    // texts the other way round.
    const int names[] = {TXT_NONE,           TXT_FILTER_INVERT,       TXT_FILTER_FLIP,
                         TXT_FILTER_BLUR,    TXT_FILTER_BLUR_MORE,    TXT_FILTER_SHARPEN,
                         TXT_FILTER_SHARPEN_MORE, TXT_FILTER_EMBOSS,  TXT_FILTER_UNSHARP_MASK};
    for (int mode = 0; mode <= IDC_FP_LAST - IDC_FP_NONE; ++mode)
        SetDlgItemTextW(page, IDC_FP_NONE + mode, LoadText(names[mode]).c_str());
    SetDlgItemTextW(page, IDC_FP_GROUP, LoadText(TXT_LABEL_FILTER).c_str());
    SetDlgItemTextW(page, IDC_FP_ORIGINAL_LABEL, LoadText(TXT_LABEL_ORIGINAL).c_str());
    SetDlgItemTextW(page, IDC_FP_SAMPLE_LABEL, LoadText(TXT_LABEL_SAMPLE).c_str());
}

void AdaptFiltersToMode(HWND page, bool modeChosen) {
    ScanSettings& s = g_scanSettings;
    const bool lineArt = s.scanMode == kModeLineArt;
    if (lineArt && s.filterMode >= filters::kFilterBlur && s.filterMode <= filters::kFilterEmboss) s.filterMode = 0;
    if (modeChosen && s.scanMode == kModeColour && s.colourKind == kColour36) s.filterMode = 0;
    for (int control = IDC_FP_FLIP; control <= IDC_FP_LAST; ++control)
        EnableWindow(GetDlgItem(page, control), !lineArt);
    CheckChosen(page);
    if (IsWindowVisible(page)) MakeSample(page);
}

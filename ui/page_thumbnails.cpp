#include "ui/page_thumbnails.h"

#include <cstring>
#include <new>
#include <vector>

#include "imaging/preview_process.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/prescan_sequence.h"
#include "ui/preview_window.h"
#include "ui/tone_copies.h"

namespace {

struct Sample {
    std::vector<uint8_t> pixels;
    ToneSettings tone{};
    uint16_t mode = 0;
};

Sample g_sample;

bool SampleCurrent() {
    return !g_sample.pixels.empty() && g_sample.pixels.size() == g_preview.crop.pixels.size() &&
           g_sample.mode == g_scanSettings.scanMode && std::memcmp(&g_sample.tone, &WorkingTone(), sizeof(ToneSettings)) == 0;
}

void MakeSample() {
    const preview::Crop& crop = g_preview.crop;
    g_sample = {};
    if (crop.pixels.empty()) return;
    try {
        g_sample.pixels = crop.pixels;
    } catch (const std::bad_alloc&) {
        return;  // no sample: its frame stays grey
    }
    g_sample.tone = WorkingTone();
    g_sample.mode = g_scanSettings.scanMode;
    tone::ProcessPreviewPixels(g_sample.tone, g_sample.mode, g_sample.pixels.data(), g_sample.pixels.size(),
                               static_cast<int>(crop.width), static_cast<int>(crop.height), crop.rowBytes);
}

}  // namespace

void DrawFramedPicture(HDC dc, const RECT& rect, const uint8_t* pixels, uint32_t width, uint32_t height) {
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    if (pixels && width && height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(width), static_cast<LONG>(height), 1, 24,
                          BI_RGB, 0, 0, 0, 0, 0};
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, rect.left + 1, rect.top + 1, rect.right - rect.left - 2, rect.bottom - rect.top - 2, 0, 0,
                      static_cast<int>(width), static_cast<int>(height), pixels, &info, DIB_RGB_COLORS, SRCCOPY);
    }
    FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void DrawThumbnail(const DRAWITEMSTRUCT& item) {
    const preview::Crop& crop = g_preview.crop;
    const bool sample = item.CtlID == IDC_THUMB_SAMPLE;
    const std::vector<uint8_t>& pixels = sample ? g_sample.pixels : crop.pixels;
    const bool drawable = !pixels.empty() && pixels.size() == crop.pixels.size();
    DrawFramedPicture(item.hDC, item.rcItem, drawable ? pixels.data() : nullptr, crop.width, crop.height);
}

void TakeCrop() {
    g_preview.crop = {};
    CropPreview();
}

void RefreshThumbnails(HWND page, bool force) {
    if (force || !SampleCurrent()) MakeSample();
    InvalidateRect(GetDlgItem(page, IDC_THUMB_ORIGINAL), nullptr, FALSE);
    InvalidateRect(GetDlgItem(page, IDC_THUMB_SAMPLE), nullptr, FALSE);
}

void ReleaseSample() { g_sample = {}; }

// The main dialog's "Prescan" button: PRESCAN.DLL is loaded for the one call
// and freed again, and the bitmap it leaves becomes the preview picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "engine/preview_crop.h"
#include "engine/preview_file.h"
#include "imaging/image_records.h"
#include "prescan/prescan_entry.h"

// The picture of the last prescan, kept for the preview window.
struct PreviewState {
    std::vector<uint8_t> file;      // the bitmap file as read; empty: no picture
    preview::PreviewBitmap bitmap;  // where its rows lie in `file`
    preview::Crop crop;             // the picture under the frame, after CropPreview
    std::vector<uint8_t> shown;     // `file` processed with the settings below, as drawn
    ToneSettings shownTone{};       // the applied tone settings
    uint16_t shownMode = 0;
    bool shownMatched = false;      // through the colour profile instead
    bool reprocess = true;          // `shown` must be made again whatever the settings
    float scanLength = 17.0f;       // inches of the bed the next prescan covers
    PrescanResult lastResult{};     // kept for the module's progress record
};

extern PreviewState g_preview;

// The whole sequence. A library or entry that cannot be had sets the
// condition code TWCC_OPERATIONERROR and leaves the dialog idle again.
void RunPrescanSequence(HWND dialog);

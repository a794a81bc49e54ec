#include "ui/tone_copies.h"

#include "settings/settings_record.h"
#include "ui/batch_window.h"
#include "ui/preview_window.h"

namespace {

ToneSettings g_working;
bool g_keepCopies = false;

}  // namespace

void TakeToneCopies() {
    if (g_keepCopies) {
        g_keepCopies = false;
        return;
    }
    g_working = g_scanSettings.tone;
    g_savedTone = g_scanSettings.tone;
}

void KeepToneCopiesForNextPage() { g_keepCopies = true; }

ToneSettings& WorkingTone() { return g_working; }

void StoreToneEdit() { g_savedTone = g_working; }

// The settings taken into effect are also the selected batch job's.
void ApplyWorkingTone() {
    g_scanSettings.tone = g_working;
    RedrawPreview();
    UpdateCurrentBatchJob();
}

bool ColourPages() { return g_scanSettings.scanMode == kModeColour; }

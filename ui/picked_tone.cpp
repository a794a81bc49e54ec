#include "ui/picked_tone.h"

#include <string>

#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/pick_colour_window.h"
#include "ui/preview_window.h"
#include "ui/tone_copies.h"

namespace {

ToneChannel Picked(ToneChannel channel, int value, bool highlight) {
    return highlight ? preview::WithPickedHighlight(channel, value) : preview::WithPickedShadow(channel, value);
}

int ValueOf(const preview::PickedPixel& pixel, int channel) {
    switch (channel) {
        case kToneRed: return pixel.red;
        case kToneRed + 1: return pixel.green;
        case kToneRed + 2: return pixel.blue;
        default: return pixel.Grey();
    }
}

void ApplyOnPage(HWND page, const preview::PickedPixel& pixel, bool highlight) {
    ToneSettings& working = WorkingTone();
    const int selected = ColourPages() ? working.channel : kToneMaster;
    if (ColourPages()) {
        for (int channel = kToneRed; channel <= kToneRed + 2; ++channel) {
            if (channel != selected)
                working.channels[channel] = Picked(working.channels[channel], ValueOf(pixel, channel), highlight);
        }
        StoreToneEdit();
    }
    // Master in colour mode takes the red value, as the page edits red then.
    const int typed = ValueOf(pixel, selected == kToneMaster && ColourPages() ? kToneRed : selected);
    SetDlgItemTextA(page, highlight ? IDC_ENH_HIGHLIGHT : IDC_ENH_SHADOW, std::to_string(typed).c_str());
}

void ApplyToLive(const preview::PickedPixel& pixel, bool highlight) {
    ToneSettings& live = g_scanSettings.tone;
    if (g_scanSettings.scanMode == kModeColour) {
        for (int channel = kToneRed; channel <= kToneRed + 2; ++channel)
            live.channels[channel] = Picked(live.channels[channel], ValueOf(pixel, channel), highlight);
        if (live.channel == kToneMaster) live.channel = kToneRed;
    } else {
        live.channels[kToneMaster] = Picked(live.channels[kToneMaster], pixel.Grey(), highlight);
    }
    g_savedTone = live;
    RedrawPreview();
}

}  // namespace

void ApplyPickedPixel(HWND dialog, const preview::PickedPixel& pixel, bool highlight) {
    HWND page = GetDlgItem(dialog, IDD_PAGE_ENHANCEMENTS);
    if (page && IsWindowVisible(page)) ApplyOnPage(page, pixel, highlight);
    else ApplyToLive(pixel, highlight);
    RefreshPickLevels();
}

#include "ui/settings_commands.h"

#include "engine/dialog_settings.h"
#include "imaging/hue_wheel.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/host_rules.h"
#include "settings/settings_record.h"
#include "ui/page_host.h"

namespace {

struct PreviousSettings {
    ScanSettings settings;
    ToneSettings savedTone;
};

PreviousSettings g_previous;

// The reset point of the hue wheel on the colour page, in the page's client
// coordinates; the record's default point while no page holds a wheel.
HuePoint WheelResetPoint(HWND dialog) {
    HWND page = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child && !page; child = GetWindow(child, GW_HWNDNEXT)) {
        if (PageNumberOf(dialog, child) == IDD_PAGE_COLOUR) page = child;
    }
    HWND frame = page ? GetDlgItem(page, IDC_WHEEL_FRAME) : nullptr;
    if (!frame) return ToneSettings{}.circlePos;
    RECT rect;
    GetWindowRect(frame, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return colour::HueWheelResetPoint(colour::HueWheelOf(rect.left, rect.top, rect.right - rect.left));
}

}  // namespace

void RememberPreviousSettings() { g_previous = {g_scanSettings, g_savedTone}; }

void RestorePreviousSettings() {
    g_scanSettings = g_previous.settings;
    g_savedTone = g_previous.savedTone;
    g_scanSettings.tone = g_savedTone;
    g_toneStash = g_savedTone;
    RefreshPages();
}

void ResetSettings(HWND dialog) {
    const bool was36Bit = g_scanSettings.scanMode == kModeColour && g_scanSettings.colourKind == kColour36;
    ApplyResetValues(g_scanSettings, g_savedTone, HostNameIsText(TXT_SCANWARE_CMS), WheelResetPoint(dialog));
    RefreshPages();
    if (was36Bit) EnableWindow(GetDlgItem(dialog, IDC_SCAN), TRUE);
}

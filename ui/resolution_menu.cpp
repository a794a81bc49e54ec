#include "ui/resolution_menu.h"

#include <string>
#include <vector>

#include "device/device.h"
#include "engine/job_state.h"
#include "engine/resolution_rules.h"
#include "profile/language.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/value_format.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "settings/profile_settings.h"
#include "settings/settings_record.h"
#include "twain/twain.h"
#include "ui/main_dialog.h"
#include "ui/main_page.h"

namespace {

struct ResolutionMenu {
    HMENU menu = nullptr;   // the resource as loaded
    HMENU popup = nullptr;  // its one pop-up, the menu shown
};

ResolutionMenu g_menu;

constexpr uint16_t k36BitScanLimit = 600;

ResolutionLimits CurrentLimits() {
    return ResolutionLimitsFor(g_device.opticalResolution, g_caps.xferMechIndex == TWSX_NATIVE,
                               g_caps.feederPresent && g_caps.feederEnabled);
}

// The number an item of the menu stands for: fixed commands by their
// command, the user's own by their slot.
uint16_t ItemResolution(int command) {
    const int slot = command - kMenuFirstCustomValue;
    if (slot >= 0 && slot < kCustomSlots) return g_scanSettings.customRes[slot];
    return FixedMenuResolution(command);
}

std::vector<int> ItemCommands() {
    std::vector<int> commands;
    const int count = g_menu.popup ? GetMenuItemCount(g_menu.popup) : 0;
    for (int i = 0; i < count; ++i) commands.push_back(static_cast<int>(GetMenuItemID(g_menu.popup, i)));
    return commands;
}

void InsertCustomItems() {
    if (!g_menu.popup) return;
    const int used = UsedCustomSlots(g_scanSettings.customRes);
    for (int slot = 0; slot < used; ++slot) {
        const int command = kMenuFirstCustomValue + slot;
        DeleteMenu(g_menu.popup, command, MF_BYCOMMAND);
        const std::wstring text = std::to_wstring(g_scanSettings.customRes[slot]);
        InsertMenuW(g_menu.popup, IDC_RES_CUSTOM, MF_BYCOMMAND | MF_STRING, command, text.c_str());
    }
}

// Marks the first item showing `value` (none when no item does) and greys
// the items beyond the scanner's limit.
void MarkItems(uint16_t value) {
    const uint16_t limit = CurrentLimits().maxMenu;
    bool marked = false;
    for (int command : ItemCommands()) {
        if (command == IDC_RES_CUSTOM) continue;
        const uint16_t resolution = ItemResolution(command);
        const bool mark = !marked && resolution == value;
        marked = marked || mark;
        CheckMenuItem(g_menu.popup, command, MF_BYCOMMAND | (mark ? MF_CHECKED : MF_UNCHECKED));
        EnableMenuItem(g_menu.popup, command, MF_BYCOMMAND | (resolution <= limit ? MF_ENABLED : MF_GRAYED));
    }
}

// Without a menu (no page yet) the user's own values are what is shown.
bool MenuShows(uint16_t value) {
    if (!g_menu.popup) {
        for (uint16_t custom : g_scanSettings.customRes)
            if (custom == value) return true;
        return false;
    }
    for (int command : ItemCommands())
        if (command != IDC_RES_CUSTOM && ItemResolution(command) == value) return true;
    return false;
}

void StoreCustomResolutions() {
    const uint16_t* slots = g_scanSettings.customRes;
    WriteProfileText(ModelSectionName().c_str(), "CustomRes",
                     FormatFields({slots[0], slots[1], slots[2], slots[3], slots[4]}, 5));
}

}  // namespace

void DestroyResolutionMenu() {
    if (g_menu.menu) DestroyMenu(g_menu.menu);
    g_menu = {};
}

void ReloadResolutionMenu() {
    DestroyResolutionMenu();
    const ScanSettings& s = g_scanSettings;
    const int base = ResolutionMenuFor(s.destination, s.scanMode, s.colourKind, g_device.opticalResolution);
    g_menu.menu = LoadMenuW(g_moduleInstance, MAKEINTRESOURCEW(base + g_language.index));
    if (!g_menu.menu) return;
    g_menu.popup = GetSubMenu(g_menu.menu, 0);
    InsertCustomItems();
    MarkItems(s.resolution);
}

HMENU ResolutionMenu() { return g_menu.popup; }

void OpenResolutionMenu(HWND owner, HWND field) {
    if (!g_menu.popup) return;
    RECT rect;
    GetWindowRect(field, &rect);
    TrackPopupMenu(g_menu.popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, rect.left, rect.bottom, 0, owner,
                   nullptr);
}

uint16_t MaxMenuResolution() { return CurrentLimits().maxMenu; }
uint16_t MaxCustomResolution() { return CurrentLimits().maxCustom; }

bool ChooseMenuResolution(int command) {
    const uint16_t resolution = ItemResolution(command);
    if (resolution == 0 || resolution > MaxMenuResolution()) return false;
    g_scanSettings.resolution = resolution;
    g_scanSettings.dpiScale = DpiScaleFor(resolution, g_device.opticalResolution);
    MarkItems(resolution);
    return true;
}

void AddCustomResolution(uint16_t value) {
    if (!MenuShows(value)) {
        AddCustomSlot(g_scanSettings.customRes, value);
        InsertCustomItems();
        StoreCustomResolutions();
    }
    MarkItems(value);
}

void ApplyResolution(HWND page, uint16_t resolution) {
    ScanSettings& s = g_scanSettings;
    s.resolution = resolution;
    g_job.derived.interpolate =
        ResolutionInterpolates(resolution, g_device.opticalResolution, g_caps.xferMechIndex == TWSX_NATIVE);
    HWND mainDialog = GetParent(page);
    if (g_mainDialog.idle && mainDialog) {
        const bool deepColour = s.scanMode == kModeColour && s.colourKind == kColour36;
        EnableWindow(GetDlgItem(mainDialog, IDC_SCAN), !(deepColour && resolution > k36BitScanLimit));
    }
    UpdateScanAreaFigures(page);
}

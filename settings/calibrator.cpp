#include <string>

#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/calibrator_title.h"
#include "settings/settings_dialogs.h"
#include "settings/settings_record.h"

namespace {

constexpr size_t kPathBuffer = 80;

void ShowAttention(HWND owner, int number) {
    MessageBoxW(owner, LoadText(number).c_str(), LoadText(MSG_ATTENTION).c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace

bool CalibratorInstalled() {
    return lstrcmpiA(ReadProfileText("colorpro", "path", "None", kPathBuffer).c_str(), "None") != 0;
}

void LaunchCalibrator(HWND owner) {
    if (g_scanSettings.scanMode != kModeColour || g_scanSettings.colourKind != kColour24) {
        ShowAttention(owner, MSG_NOT_24BIT_COLOUR);
        return;
    }
    const std::string title = CalibratorWindowTitle(ReadProfileText("GBCAL", "BRAND", "SCANNER", 256),
                                                    ReadProfileText("GBCAL", "PACKAGE", "", 34));
    if (HWND running = FindWindowA(nullptr, title.c_str())) {
        if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
        return;
    }
    const std::string command =
        ReadProfileText("colorpro", "path", "c:\\windows\\twain\\kvsc_a3", kPathBuffer) + " dscall";
    // WinExec returns a value above 31 when the program was started.
    if (WinExec(command.c_str(), SW_SHOWNORMAL) <= 31) ShowAttention(owner, MSG_NO_CALIBRATOR);
}

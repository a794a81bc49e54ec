#include "ui/prescan_sequence.h"

#include <fstream>
#include <iterator>
#include <string>

#include "device/device.h"
#include "device/messages.h"
#include "device/remote_scanner.h"
#include "engine/calibration_state.h"
#include "profile/language.h"
#include "profile/profile.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "ui/batch_regions.h"
#include "ui/batch_window.h"
#include "ui/main_dialog.h"
#include "ui/page_host.h"
#include "ui/preview_window.h"

PreviewState g_preview;

namespace {

// The bitmap the module left, or no picture when it is missing or not one.
void LoadPreviewPicture() {
    std::ifstream in(InstallDirectory() + "\\" + kPreviewFileName, std::ios::binary);
    std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    preview::PreviewBitmap bitmap;
    if (!preview::ReadPreviewHeader(file.data(), file.size(), bitmap)) file.clear();
    g_preview.file = std::move(file);
    g_preview.bitmap = g_preview.file.empty() ? preview::PreviewBitmap{} : bitmap;
    g_preview.reprocess = true;
}

// One call of the module with the dialog's settings.
void CallModule(HWND dialog, PreScanImageFn prescanImage) {
    const uint16_t* f = g_scanSettings.frame;
    // The module gets the frame at twice its size.
    RECT area = {f[0], f[1], 2 * f[2] - f[0], 2 * f[3] - f[1]};
    struct ProgressRecord {
        HWND dialog;
        uint16_t zero;
        PrescanResult previous;
    };
    ProgressRecord progress = {dialog, 0, g_preview.lastResult};
    const prescan::Options options = {g_scanSettings.prescanHiRes, 0, g_preview.scanLength};
    g_preview.lastResult = prescanImage(dialog, &area, g_mainDialog.sourceAndSpeed, &progress, nullptr,
                              static_cast<uint32_t>(g_language.index), g_device.letterModel ? 1u : 0u, options,
                              g_calibration.record, &g_scanSettings.tone, RemoteSocketHandle());
    if (g_preview.lastResult.words[kResultLinkLost] == 1) EndRemoteConnection();
}

}  // namespace

void RunPrescanSequence(HWND dialog) {
    KillTimer(dialog, kPreviewTimer);
    SetDialogIdle(dialog, false);
    SetCapture(dialog);
    HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    g_preview.file.clear();
    g_preview.bitmap = {};
    g_preview.crop = {};
    // No older picture survives a prescan that cannot run.
    DeleteFileA((InstallDirectory() + "\\" + kPreviewFileName).c_str());

    const std::string path = InstallDirectory() + "\\PRESCAN.DLL";
    HMODULE module = LoadLibraryA(path.c_str());
    auto prescanImage = module ? reinterpret_cast<PreScanImageFn>(
                                     reinterpret_cast<void*>(GetProcAddress(module, "PreScan_Image")))
                               : nullptr;
    if (prescanImage) {
        EnableScanAndPrescan(dialog, FALSE);
        CallModule(dialog, prescanImage);
    } else {
        g_twain.conditionCode = TWCC_OPERATIONERROR;
    }
    if (module) FreeLibrary(module);
    SetCursor(cursor);
    ReleaseCapture();
    if (prescanImage) LoadPreviewPicture();
    else ShowDeviceError(dialog, MSG_WRITE_FILE_ERROR);
    if (prescanImage && g_twain.batchListOpen) MakeBatchJobsFromPreview(dialog);
    RedrawPreview();
    RecropPages();
    StartPreviewBlink();

    SetDialogIdle(dialog, true);
    EnableScanAndPrescan(dialog, TRUE);
    UpdateCurrentBatchJob();
}

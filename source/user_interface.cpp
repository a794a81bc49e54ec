// DAT_STATUS and DAT_USERINTERFACE.
#include "device/device.h"
#include "device/dialog_link.h"
#include "engine/calibration_state.h"
#include "engine/scan_tone.h"
#include "engine/transfer.h"
#include "engine/unattended_scan.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "source/handlers.h"
#include "twain/cap_container.h"

void GetStatus() {
    g_twain.returnCode = TWRC_SUCCESS;
    if (!StateBetween(4, 7)) {
        Fail(TWCC_SEQERROR);
        return;
    }
    auto* status = CallData<TW_STATUS>();
    status->ConditionCode = g_twain.conditionCode;
    status->Reserved = 0;
    g_twain.conditionCode = TWCC_SUCCESS;
}

void EnableSource() {
    if (g_twain.sourceState != kState4) {
        Fail(TWCC_SEQERROR);
        return;
    }
    auto* ui = CallData<TW_USERINTERFACE>();
    g_twain.parentWindow = TwainPointer<HWND>(ui->hParent);
    g_twain.showUI = ui->ShowUI;
    g_caps.pagesDelivered = 0;
    g_twain.imageDelivered = false;
    // A remote scanner calibrates itself; a local one needs the gain tables.
    if (!g_device.remoteMode) BuildGainTables(g_device.referenceLevels);

    if (!ui->ShowUI) {
        Succeed();
        BuildEnableToneMaps(kPixelTypes[g_caps.pixelTypeIndex % std::size(kPixelTypes)] == TWPT_RGB);
        RunUnattendedScan();
        return;
    }
    RestoreDialogRecord();
    if (!g_twain.mainDialog) {
        g_twain.mainDialog = g_dialogLink.create();
        if (!g_twain.mainDialog) {
            Fail(TWCC_LOWMEMORY);
            return;
        }
        ui->ModalUI = 1;
        ShowWindow(g_twain.mainDialog, SW_SHOW);
        UpdateWindow(g_twain.mainDialog);
    } else {
        ShowWindow(g_twain.mainDialog, SW_SHOW);
        g_dialogLink.endOfScan();
    }
    Succeed();
    g_twain.sourceState = kState5;
}

void DisableSource() {
    if (!StateBetween(5, 7)) {
        Fail(TWCC_SEQERROR);
        return;
    }
    AbandonTransfer();
    ReleaseGainTables();
    // A visible dialog of a disabled source could start a scan: hide it.
    if (g_twain.mainDialog) ShowWindow(g_twain.mainDialog, SW_HIDE);
    Succeed();
    g_twain.sourceState = kState4;
}

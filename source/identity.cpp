// Start-up of the library, the source's identity, MSG_OPENDS and MSG_CLOSEDS.
#include <string>

#include "device/device.h"
#include "device/dialog_link.h"
#include "engine/calibration.h"
#include "engine/transfer.h"
#include "profile/language.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/image_setup.h"
#include "session/session.h"
#include "source/handlers.h"

namespace {

void BuildIdentityFromProfile() {
    TW_IDENTITY& id = g_twain.dsIdentity;
    id = TW_IDENTITY{};
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 0;
    id.Version.Language = TWLG_USA;
    id.Version.Country = TWCY_TAIWAN;
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 5;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;

    std::string brand = BrandText();
    CopyCut(id.Manufacturer, brand.c_str());
    std::string product = (IsTellarisBrand(brand) ? "Tellaris " : "") + ModelDisplayText();
    CopyCut(id.ProductFamily, product.c_str());
    CopyCut(id.ProductName, product.c_str());
    CopyCut(id.Version.Info, SoftwareVersionText().c_str());
}

bool FileExists(const std::string& path) {
    OFSTRUCT info{};
    return OpenFile(path.c_str(), &info, OF_EXIST) != HFILE_ERROR;
}

// The obsolete 16-bit TWAIN bridge program is renamed out of the way.
void RetireBridgeProgram() {
    std::string windows = WindowsDirectory();
    std::string bridge = windows + "\\TWUNK_16.EXE";
    std::string retired = windows + "\\TWUNK_16.OLD";
    if (!FileExists(bridge)) return;
    if (FileExists(retired)) DeleteFileA(retired.c_str());
    MoveFileA(bridge.c_str(), retired.c_str());
}

// A fresh temporary file name with prefix "ORVANE" and the ".TIF" extension.
std::string MakeTransferFileName() {
    char directory[257] = {};
    GetTempPathA(256, directory);
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(directory, "ORVANE", 0, name) == 0) return {};
    DeleteFileA(name);
    std::string path = name;
    size_t dot = path.find_last_of('.');
    if (dot != std::string::npos) path.erase(dot);
    return path + LoadTextA(TXT_TIF_EXTENSION);
}

// Host identities are copied in whole; their texts are made safe to read.
void TerminateTexts(TW_IDENTITY& id) {
    id.Version.Info[sizeof id.Version.Info - 1] = '\0';
    id.Manufacturer[sizeof id.Manufacturer - 1] = '\0';
    id.ProductFamily[sizeof id.ProductFamily - 1] = '\0';
    id.ProductName[sizeof id.ProductName - 1] = '\0';
}

void ResetConnectionRecords() {
    ResetTransferSetup(MakeTransferFileName());
    ResetCapabilitiesForConnection();
    g_twain.memXferRecord = TW_IMAGEMEMXFER{};
    g_twain.mainDialog = nullptr;
}

}  // namespace

void StartUp() {
    g_twain.sourceState = kState3;
    g_twain.appIdentity.Id = 0;
    BuildIdentityFromProfile();
    RetireBridgeProgram();
}

void GetIdentity() {
    *CallData<TW_IDENTITY>() = g_twain.dsIdentity;
    Succeed();
}

void OpenSource() {
    g_twain.returnCode = TWRC_SUCCESS;
    if (g_twain.sourceState != kState3 || g_twain.appIdentity.Id != 0) {
        Fail(TWCC_MAXCONNECTIONS);
        return;
    }
    LoadLanguageFromProfile();
    if (!BindDriverLibrary()) {
        Fail(TWCC_OPERATIONERROR);
        return;
    }
    auto* identity = CallData<TW_IDENTITY>();
    g_twain.dsIdentity = *identity;  // carries the Id the source manager assigned
    TerminateTexts(g_twain.dsIdentity);
    ScannerIdentity scanner;
    const bool opened = OpenScanner(scanner);
    if (scanner.versionInfo) CopyCut(g_twain.dsIdentity.Version.Info, scanner.versionInfo->c_str());
    if (scanner.feederPresent) g_caps.feederPresent = g_caps.feederEnabled = *scanner.feederPresent;
    if (!opened) {
        UnbindDriverLibrary();
        Fail(TWCC_OPERATIONERROR);
        return;
    }
    g_twain.appIdentity = *g_twain.callOrigin;
    TerminateTexts(g_twain.appIdentity);
    *identity = g_twain.dsIdentity;
    ResetConnectionRecords();
    g_twain.conditionCode = TWCC_SUCCESS;
    g_twain.sourceState = kState4;
}

void CloseSource() {
    g_twain.returnCode = TWRC_SUCCESS;
    if (!StateBetween(4, 7)) {
        Fail(TWCC_SEQERROR);
        return;
    }
    g_twain.conditionCode = TWCC_SUCCESS;
    AbandonTransfer();
    g_twain.appIdentity.Id = 0;
    g_dialogLink.destroy();
    ReleaseCalibration();
    UnbindDriverLibrary();
    g_twain.sourceState = kState3;
}

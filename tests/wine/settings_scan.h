// Scans made with the source's own dialog: the settings that only the dialog
// applies (filters, descreening, output matching, colour kinds, the dpi scale)
// are written to the model's WIN.INI section, the host enables the source
// with its user interface and the test presses the dialog's Scan button.
// Expected images come from the simulated scanner's model with the tone
// tables such a scan sends.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/acquire_fixture.h"

namespace dstest {

// Keys of the model's section, in the stored form ("Frame" in preview
// units of 30 per inch, four characters a field).
using DialogSettings = std::vector<std::pair<std::string, std::string>>;

// The model's section of the simulated scanners: the 1200-dpi default and
// the 600-dpi model.
constexpr const char* kSection1200 = "A3 SCANNER";
constexpr const char* kSection600 = "KVS-T60PRO";

// One inch at 100 dpi from (1, 1) inches, two inches wide.
constexpr const char* kSmallFrame = "30  30  90  60  ";

// The tone block the dialog loads from a section holding `settings` (the
// defaults, with Saturation and PixelRGB when given).
inline ToneSettings DialogTone(const DialogSettings& settings) {
    ToneSettings tone = DefaultToneSettings();
    for (const auto& [key, value] : settings) {
        if (key == "Saturation") tone.saturation = std::stoi(value);
        if (key == "PixelRGB") {
            int r = 255, g = 255, b = 255;
            std::sscanf(value.c_str(), "%d %d %d", &r, &g, &b);
            tone.pixelRGB = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 0};
        }
    }
    return tone;
}

// What a dialog scan asks the scanner for: image type, scan resolution and
// the frame (preview units) at the optical rate; the tone tables of `tone`.
struct DialogRequest {
    uint8_t imageType;
    uint16_t scanMode;
    uint16_t resolution;       // as the scanner scans
    uint16_t frame[4];         // preview units
    bool outputMatch = false;  // linear tone tables
};

inline Image DialogScanImage(const std::string& scannerKeys, const DialogRequest& request, const ToneSettings& tone,
                             uint16_t opticalRate = 1200) {
    tone::ScanToneTables tables;
    tone::ResetScanToneTables(tables);
    const sim::ToneTables sent =
        SentToneTables(tone, request.scanMode, request.outputMatch, false, tables, opticalRate);
    auto units = [&](uint16_t preview) { return static_cast<uint16_t>(uint32_t{preview} * opticalRate / 30); };
    return ScannerImage(scannerKeys, {request.imageType, request.resolution, units(request.frame[0]),
                                      units(request.frame[1]), units(request.frame[2]), units(request.frame[3]),
                                      sent});
}

class SettingsScanTest : public AcquireTest {
protected:
    void SetUp() override {
        AcquireTest::SetUp();
        Connect("");
    }

    // Writes `settings` to the model's section (cleared first), opens the
    // source afresh (the dialog reads its settings when it is made),
    // negotiates the mechanism and the file, enables the source with its
    // dialog, runs `beforeScan` on the dialog when given and presses Scan.
    // True when the image is ready (state 6).
    bool DialogScan(const DialogSettings& settings, TW_UINT16 mechanism, const std::string& file = "",
                    TW_UINT16 format = TWFF_TIFF, const std::function<void(HWND)>& beforeScan = {}) {
        if (host.enabled) host.Disable();
        if (host.sourceOpen) {
            EXPECT_EQ(host.CloseSource(), TWRC_SUCCESS);
        }
        WriteProfileStringA(section, nullptr, nullptr);
        for (const auto& [key, value] : settings) WriteProfileStringA(section, key.c_str(), value.c_str());
        if (host.OpenSource("") != TWRC_SUCCESS) return false;
        EXPECT_EQ(host.SetOneValue(ICAP_XFERMECH, TWTY_UINT16, mechanism), TWRC_SUCCESS);
        if (!file.empty()) ChooseFile(file, format);
        if (host.Enable(true) != TWRC_SUCCESS) return false;
        HWND dialog = FindMainDialog();
        if (!dialog) return false;
        if (beforeScan) beforeScan(dialog);
        // The scan command runs inside the button's message and has posted
        // MSG_XFERREADY when it returns, or never will.
        SendMessageW(dialog, WM_COMMAND, IDC_SCAN, 0);
        return host.WaitForNotification(5000) == MSG_XFERREADY;
    }

    const char* section = kSection1200;  // the model's section of the connected scanner

    // The native transfer's bitmap, or an empty one when it failed.
    Dib NativeImage() {
        TW_HANDLE handle = 0;
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
        Dib dib = handle ? TakeDib(handle) : Dib{};
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        return dib;
    }

    // The memory transfer's rows, into a buffer of `length`.
    MemoryBlocks MemoryImage(uint32_t length = 65536) {
        MemoryBlocks taken = TakeMemoryBlocks(length);
        EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        return taken;
    }

    // The file transfer into `path`, read back whole.
    std::vector<uint8_t> FileImage(const std::string& path) {
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        return ReadWholeFile(path);
    }
};

}  // namespace dstest

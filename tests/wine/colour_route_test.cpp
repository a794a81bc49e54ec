// The colour stages of a scan made with the dialog: the colour pass of the
// saved tone settings, output matching with profiles of both formats, CMYK
// and 36-bit colour. Each image is compared with the colour functions applied
// to the simulated scanner's pixels.
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imaging/cmyk.h"
#include "imaging/colour_adjust.h"
#include "imaging/colour_profile.h"
#include "imaging/widen36.h"
#include "tests/wine/colour_profile_file.h"
#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;

const uint16_t kFrame[4] = {30, 30, 90, 60};

DialogSettings Settings(const char* mode, DialogSettings extra = {}) {
    DialogSettings settings = {{"ScanMode", mode}, {"ScanRes", "100"}, {"Frame", kSmallFrame}};
    settings.insert(settings.end(), extra.begin(), extra.end());
    return settings;
}

Image Scanned(const std::string& keys, uint8_t imageType, uint16_t scanMode, const ToneSettings& tone,
              bool outputMatch = false) {
    DialogRequest request{imageType, scanMode, 100, {kFrame[0], kFrame[1], kFrame[2], kFrame[3]}, outputMatch};
    return DialogScanImage(keys, request, tone);
}

// A grid profile: inverting input curves and nodes of a seeded random grid.
std::vector<uint8_t> GridProfile() {
    std::vector<uint8_t> bytes(colour::kGridProfileSize);
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) bytes[256 * c + v] = static_cast<uint8_t>(255 - v);
    std::mt19937 random(7);
    for (size_t i = 768; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(random());
    return bytes;
}

std::vector<uint8_t> InstalledCmykTable() { return ReadWholeFile(InstallDir() + "\\cmyk.tab"); }

class ColourRouteTest : public SettingsScanTest {
protected:
    void TearDown() override {
        DeleteFileA(ProfilePath().c_str());
        SettingsScanTest::TearDown();
    }
};

TEST_F(ColourRouteTest, ColourPassOfTheSavedToneSettings) {
    const DialogSettings settings = Settings("1014", {{"Saturation", "-50"}, {"PixelRGB", "  200  150  100"}});
    const ToneSettings tone = DialogTone(settings);
    Image expected = Scanned(keys, sim::kColour, kModeColour, tone);
    colour::ColourTables tables;
    ASSERT_TRUE(colour::PrepareColourPass(tone, kModeColour, colour::PixelOrder::kRgb, nullptr, tables));
    for (uint32_t line = 0; line < expected.lines; ++line) {
        uint8_t* row = expected.bytes.data() + size_t{line} * expected.lineBytes;
        colour::ApplyColourPass(tables, row, row, expected.pixels);
    }
    ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(expected, MemoryImage().rows));
    ASSERT_TRUE(DialogScan(settings, TWSX_NATIVE));
    const Dib dib = NativeImage();
    EXPECT_TRUE(SamePixels(expected, FromBitmapRows(dib.rows.data(), expected.lines, expected.lineBytes, true)));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ColourRouteTest, OutputMatchingCorrectsEveryBlockWithEitherProfile) {
    // Output matching sends linear tone tables and replaces the colour pass.
    const DialogSettings settings = Settings("1014", {{"OutputMatch", "1"}, {"Saturation", "-100"}});
    const Image scanned = Scanned(keys, sim::kColour, kModeColour, DialogTone(settings), true);
    for (const std::vector<uint8_t>& bytes : {MatrixProfile(), GridProfile()}) {
        SCOPED_TRACE(bytes.size());
        WriteProfile(bytes);
        colour::ColourProfile profile;
        ASSERT_TRUE(colour::ParseColourProfile(bytes.data(), bytes.size(), profile));
        Image expected = scanned;
        ASSERT_TRUE(colour::ApplyColourProfile(profile, static_cast<int>(expected.lines),
                                               static_cast<int>(expected.pixels), expected.lineBytes,
                                               expected.bytes.data(), expected.bytes.size(), false));
        ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
        EXPECT_TRUE(SamePixels(expected, MemoryImage(20000).rows));
        const std::string path = TempPath("matched.tif");
        ASSERT_TRUE(DialogScan(settings, TWSX_FILE, path));
        const std::vector<uint8_t> file = FileImage(path);
        ASSERT_GT(file.size(), 146u);
        EXPECT_TRUE(SamePixels(expected, std::vector<uint8_t>(file.begin() + 146, file.end())));
        ASSERT_TRUE(DialogScan(settings, TWSX_NATIVE));
        const Dib dib = NativeImage();
        EXPECT_TRUE(SamePixels(expected, FromBitmapRows(dib.rows.data(), expected.lines, expected.lineBytes, true)));
    }
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ColourRouteTest, AProfileThatSwapsRedAndBlueSwapsThemInTheImage) {
    // Identity curves; red is taken from blue and blue from red.
    std::vector<uint8_t> bytes(colour::kMatrixProfileSize);
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) bytes[256 * c + v] = static_cast<uint8_t>(v);
    const float matrix[3][4] = {{0, 0, 0, 1}, {0, 0, 1, 0}, {0, 1, 0, 0}};
    std::memcpy(bytes.data() + 768, matrix, sizeof matrix);
    WriteProfile(bytes);
    const DialogSettings settings = Settings("1014", {{"OutputMatch", "1"}});
    Image expected = Scanned(keys, sim::kColour, kModeColour, DialogTone(settings), true);
    for (uint32_t line = 0; line < expected.lines; ++line) {
        uint8_t* row = expected.bytes.data() + size_t{line} * expected.lineBytes;
        for (uint32_t x = 0; x < expected.pixels; ++x) std::swap(row[3 * x], row[3 * x + 2]);
    }
    ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(expected, MemoryImage().rows));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ColourRouteTest, MissingProfileSwitchesOutputMatchingOff) {
    // The message, then the scan as without output matching (gamma tables,
    // the colour pass); a grey scan switches it off without a word.
    const DialogSettings settings = Settings("1014", {{"OutputMatch", "1"}});
    ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Calibration Profile is not found! Please run the Calibrator to produce it.");
    EXPECT_EQ(recorder.boxes[0].caption, "Information");
    recorder.boxes.clear();
    EXPECT_TRUE(SamePixels(Scanned(keys, sim::kColour, kModeColour, DefaultToneSettings()), MemoryImage().rows));

    WriteProfile(GridProfile());
    ASSERT_TRUE(DialogScan(Settings("1013", {{"OutputMatch", "1"}}), TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(Scanned(keys, sim::kGreyColourShaded, kModeGray, DefaultToneSettings()),
                           MemoryImage().rows));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ColourRouteTest, CmykForPhotoshopByMemoryTransferOnly) {
    Connect("", "Photoshop");
    Image rgb = Scanned(keys, sim::kColour, kModeColour, DefaultToneSettings());
    const std::vector<uint8_t> file = InstalledCmykTable();
    colour::CmykTable table;
    ASSERT_TRUE(colour::ParseCmykTable(file.data(), file.size(), table));
    Image expected = rgb;
    expected.lineBytes = 4 * rgb.pixels;
    expected.bytes.assign(size_t{rgb.lines} * expected.lineBytes, 0);
    for (uint32_t line = 0; line < rgb.lines; ++line) {
        uint8_t* row = expected.bytes.data() + size_t{line} * expected.lineBytes;
        std::memcpy(row, rgb.bytes.data() + size_t{line} * rgb.lineBytes, rgb.lineBytes);
        ASSERT_TRUE(colour::ConvertToCmyk(table, row, expected.lineBytes, rgb.lineBytes, false));
    }

    // 800-byte rows: 20 fit 16000 bytes, 81 fit 65536.
    for (uint32_t length : {16000u, 65536u}) {
        ASSERT_TRUE(DialogScan(Settings("1015"), TWSX_MEMORY));
        const TW_IMAGEINFO info = ImageInfo();
        EXPECT_EQ(info.PixelType, TWPT_CMYK);
        EXPECT_EQ(info.BitsPerPixel, 32);
        const MemoryBlocks taken = MemoryImage(length);
        EXPECT_EQ(taken.records[0].BytesPerRow, expected.lineBytes);
        EXPECT_EQ(taken.records[0].Columns, rgb.pixels);
        EXPECT_EQ(taken.records[0].Rows, length == 16000 ? 20u : 81u);
        EXPECT_TRUE(SamePixels(expected, taken.rows));
    }

    // A host that calls for a bitmap or a file of a CMYK image prepared for
    // memory is refused and keeps the image and its session.
    ASSERT_TRUE(DialogScan(Settings("1015"), TWSX_MEMORY));
    TW_HANDLE handle = 0xDEADBEEF;
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(SourceState(host), 6);
    EXPECT_TRUE(SamePixels(expected, MemoryImage().rows));
    EXPECT_EQ(host.WaitForNotification(500), MSG_NULL);

    // Native and file transfers carry RGB layouts only.
    for (TW_UINT16 mechanism : {TWSX_NATIVE, TWSX_FILE}) {
        EXPECT_FALSE(DialogScan(Settings("1015"), mechanism, TempPath("cmyk.tif")));
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{"This application does not recognize this mode."});
    }

    // Without its table the scan is refused before the scanner moves.
    const std::string installed = InstallDir() + "\\cmyk.tab", aside = InstallDir() + "\\cmyk.tab.aside";
    ASSERT_TRUE(MoveFileA(installed.c_str(), aside.c_str()));
    ClearScannerLog();
    EXPECT_FALSE(DialogScan(Settings("1015"), TWSX_MEMORY));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Read File Failure."});
    EXPECT_EQ(CountRequests(blocks::kStartScan), 0);
    ASSERT_TRUE(MoveFileA(aside.c_str(), installed.c_str()));
}

TEST_F(ColourRouteTest, DeepColourForPhotoshopIsWidenedTo16Bits) {
    Connect("", "Photoshop");
    Image expected = Scanned(keys, sim::kColour36, kModeColour, DefaultToneSettings());
    ASSERT_TRUE(colour::Widen36BitLine(expected.bytes.data(), expected.bytes.size(), expected.bytes.data(),
                                       expected.bytes.size()));
    ASSERT_TRUE(DialogScan(Settings("1016", {{"FilterMode", "1"}}), TWSX_MEMORY));
    const TW_IMAGEINFO info = ImageInfo();
    EXPECT_EQ(info.ImageWidth, static_cast<TW_INT32>(expected.pixels));
    EXPECT_EQ(info.BitsPerPixel, 48);
    const MemoryBlocks taken = MemoryImage(30000);
    EXPECT_EQ(taken.records[0].BytesPerRow, 6 * expected.pixels);
    EXPECT_EQ(taken.records[0].Rows, 30000 / (6 * expected.pixels));
    // Nothing but the widening: the filter does not touch 16-bit samples.
    EXPECT_TRUE(SamePixels(expected, taken.rows));

    EXPECT_FALSE(DialogScan(Settings("1016"), TWSX_NATIVE));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"This application does not recognize this mode."});
    // Above the scanner's rate the host could take the mode, but not the
    // enlargement 36-bit colour cannot have.
    EXPECT_FALSE(DialogScan(Settings("1016", {{"ScanRes", "2400"}}), TWSX_MEMORY));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Incorrect scan area settings."});
    // Other hosts are refused the mode whatever the mechanism.
    Connect("");
    EXPECT_FALSE(DialogScan(Settings("1016"), TWSX_MEMORY));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"This application does not recognize this mode."});
}

}  // namespace

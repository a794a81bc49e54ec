// PRESCAN.DLL called directly, as the main dialog calls it, against the
// simulated scanner: the preview bitmap's header and pixels, the requests in
// their order, the calibration through the shared record, and the failures.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "device/driver_memory.h"
#include "engine/region_detection.h"
#include "engine/shading.h"
#include "prescan/prescan_entry.h"
#include "sim/calibration.h"
#include "sim/sensor.h"
#include "tests/wine/acquire_fixture.h"

namespace {

using namespace dstest;


// Layout of the calibration record the data source shares.
constexpr size_t kRecordSize = 656;
constexpr size_t kFlag = 0, kGainTables = 4, kHighTable = 16, kLowTable = 336;
const uint16_t kReferences[3] = {2600, 2700, 2500};  // the simulated scanner's red, green, blue

// The A3 bed at 30 dpi: 351 pixels of 3 bytes, rows padded to 1056 bytes, 510 rows.
constexpr uint32_t kWidth30 = 351, kRowBytes30 = 1056, kRows30 = 510;

std::string PreviewPath() { return InstallDir() + "\\ORVC0000.BMP"; }

uint32_t U32(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// What the scanner delivers for the whole bed, or its first `lines`, in colour
// at `dpi`, with the identity tone tables, as bitmap rows of `rows` rows
// (black below the scanned lines).
std::vector<uint8_t> ExpectedRows(const std::string& keys, uint16_t dpi, uint32_t rows, const sim::Calibration& cal,
                                  uint16_t bottom = 20400) {
    const sim::ScannerConfig config = sim::ParseScannerConfig("[Scanner]\n" + keys);
    sim::ScanParameters parameters;
    parameters.right = 14040;
    parameters.bottom = bottom;
    parameters.imageType = 3;
    parameters.resolution = dpi;
    const sim::ScanArea area = sim::AreaOf(config, parameters);
    Image image;
    image.pixels = area.pixels;
    image.lines = rows;
    image.lineBytes = area.lineBytes;
    image.bytes = sim::ExpectedPixels(config, sim::BedImage{}, parameters, sim::DefaultToneTables(), cal);
    image.bytes.resize(size_t{rows} * area.lineBytes, 0);
    return ToBitmapRows(image, true);
}

class PrescanTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        module = LoadLibraryA((InstallDir() + "\\PRESCAN.DLL").c_str());
        ASSERT_NE(module, nullptr);
        prescanImage =
            reinterpret_cast<PreScanImageFn>(reinterpret_cast<void*>(GetProcAddress(module, "PreScan_Image")));
        ASSERT_NE(prescanImage, nullptr);
        // The record and the gain tables lie below 4 GB, as the data source places them.
        memory = AllocateDriverMemory(kRecordSize + 3 * shading::kGainEntries * 2 + 2 * 1024);
        ASSERT_NE(memory, nullptr);
        std::memset(memory, 0, kRecordSize);
        record = memory;
        for (int c = 0; c < 3; ++c) {
            gains[c] = shading::BuildGainTable(kReferences[c]);
            uint8_t* table = memory + kRecordSize + c * shading::kGainEntries * 2;
            std::memcpy(table, gains[c].data(), shading::kGainEntries * 2);
            blocks::PutU32(record, kGainTables + 4 * c, BlockAddress(table));
        }
        blocks::PutU16(record, kFlag, 1);
        DeleteFileA(PreviewPath().c_str());
    }

    void TearDown() override {
        FreeDriverMemory(memory);
        FreeLibrary(module);
        SourceTest::TearDown();
    }

    void Prescan(uint32_t hiRes = 0, float length = 17.0f, uint32_t language = 0, uint32_t sourceWord = 0) {
        ClearScannerLog();
        recorder.boxes.clear();
        const PrescanResult result =
            prescanImage(nullptr, nullptr, sourceWord, nullptr, nullptr, language, 0, {hiRes, 0, length}, record,
                         nullptr, 0);
        for (uint32_t word : result.words) EXPECT_EQ(word, 0u);
    }

    std::vector<uint8_t> Pixels(const std::vector<uint8_t>& file) { return {file.begin() + 54, file.end()}; }

    HMODULE module = nullptr;
    PreScanImageFn prescanImage = nullptr;
    uint8_t* memory = nullptr;
    uint8_t* record = nullptr;
    shading::GainTable gains[3];
};

TEST_F(PrescanTest, TheWholeBedAtBothResolutions) {
    SetScanner(kUniformSensor);
    struct Case {
        uint32_t hiRes;
        uint16_t dpi;
        uint32_t width, rowBytes, rows;
    };
    for (const Case& c : {Case{0, 30, kWidth30, kRowBytes30, kRows30}, Case{1, 60, 702, 2108, 1020}}) {
        SCOPED_TRACE(c.dpi);
        Prescan(c.hiRes);
        EXPECT_TRUE(recorder.boxes.empty());
        const std::vector<uint8_t> file = ReadWholeFile(PreviewPath());
        ASSERT_EQ(file.size(), 54 + size_t{c.rowBytes} * c.rows);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(U32(file, 2), file.size());
        EXPECT_EQ(U32(file, 6), 0u);
        EXPECT_EQ(U32(file, 10), 54u);
        EXPECT_EQ(U32(file, 14), 40u);
        EXPECT_EQ(U32(file, 18), c.width);
        EXPECT_EQ(U32(file, 22), c.rows);
        EXPECT_EQ(U32(file, 26), 1u | 24u << 16);
        for (size_t offset = 30; offset < 54; offset += 4) EXPECT_EQ(U32(file, offset), 0u) << offset;
        // With a uniform sensor the measured correction equals the factory one.
        EXPECT_TRUE(Pixels(file) == ExpectedRows(kUniformSensor, c.dpi, c.rows, sim::Calibration{}));
        EXPECT_FALSE(FileExists(InstallDir() + "\\ORVC0000.TMP"));
    }
}

TEST_F(PrescanTest, RequestsInTheirOrderAndTheFlagCleared) {
    Prescan();
    const std::vector<std::string> expected = {"F0", "F9", "F1", "F7", "BUF_ADDR", "F2", "BUF_ADDR", "BUF_ADDR",
                                               "F3", "F4", "F5", "BUF_ADDR", "F8", "F9"};
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(blocks::GetU16(record, kFlag), 0);
    EXPECT_TRUE(FileExists(PreviewPath()));
}

// The sensor's element gains are measured: the white lines averaged with the
// three lowest and three highest of each column dropped, mapped through the
// data source's gain tables.
TEST_F(PrescanTest, CalibratesThroughTheSharedGainTables) {
    const std::string keys = "ShadingLinesColour=12\n";
    SetScanner(keys);
    Prescan();
    const sim::ScannerConfig config = sim::ParseScannerConfig("[Scanner]\n" + keys);
    const std::vector<uint8_t> white = sim::ShadingLines(config, true, 30);
    const size_t lineBytes = 6 + 6 * kWidth30, lines = 12, samples = 3 * kWidth30;
    ASSERT_EQ(white.size(), lineBytes * lines);
    std::vector<uint16_t> planes(samples);
    for (size_t s = 0; s < samples; ++s) {
        std::vector<uint16_t> column;
        for (size_t l = 0; l < lines; ++l)
            column.push_back(blocks::GetU16(white.data() + l * lineBytes, 2 + 2 * s) & 0xFFF);
        std::sort(column.begin(), column.end());
        unsigned sum = 0;
        for (size_t j = 3; j < lines - 3; ++j) sum += column[j];
        planes[s % 3 * kWidth30 + s / 3] = gains[s % 3][sum / (lines - 6)];
    }
    sim::Calibration calibration;
    ASSERT_TRUE(sim::StoreCorrection(calibration, true, 30, kWidth30, planes));
    const std::vector<uint8_t> file = ReadWholeFile(PreviewPath());
    ASSERT_EQ(file.size(), 54 + size_t{kRowBytes30} * kRows30);
    EXPECT_TRUE(Pixels(file) == ExpectedRows(keys, 30, kRows30, calibration));
}

TEST_F(PrescanTest, ResendsTheKeptValuesOrCalibratesWhenNoneAreKept) {
    SetScanner("ShadingNeeded=0\n");
    blocks::PutU16(record, kFlag, 0);
    // No descriptors in the record: a full pass.
    Prescan();
    std::vector<std::string> requests = Requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), "F2"), requests.end());
    EXPECT_TRUE(FileExists(PreviewPath()));

    // Kept green values of the 351 pixels: sent again, no white lines read.
    uint8_t* kept = memory + kRecordSize + 3 * shading::kGainEntries * 2;
    std::memset(kept, 0, 2 * kWidth30);
    for (size_t table : {kHighTable, kLowTable}) {
        blocks::PutU32(record, table, kWidth30);
        blocks::PutU32(record, table + 8, BlockAddress(kept + (table == kLowTable ? kWidth30 : 0)));
    }
    Prescan();
    requests = Requests();
    EXPECT_EQ(std::find(requests.begin(), requests.end(), "F7"), requests.end());
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "F3"), 1);
    EXPECT_TRUE(recorder.boxes.empty()) << recorder.boxes[0].caption;
    EXPECT_TRUE(FileExists(PreviewPath()));
}

// 3.99 inches is ignored, 4 inches shortens the scan (the rows below stay
// black), 20 inches is cut to the bed.
TEST_F(PrescanTest, PrescanLength) {
    SetScanner(kUniformSensor);
    const std::vector<uint8_t> whole = ExpectedRows(kUniformSensor, 30, kRows30, sim::Calibration{});
    const std::vector<uint8_t> short4 = ExpectedRows(kUniformSensor, 30, kRows30, sim::Calibration{}, 4800);
    for (float length : {3.99f, 4.0f, 20.0f}) {
        SCOPED_TRACE(length);
        Prescan(0, length);
        const std::vector<uint8_t> file = ReadWholeFile(PreviewPath());
        ASSERT_EQ(file.size(), 54 + size_t{kRowBytes30} * kRows30);
        EXPECT_TRUE(Pixels(file) == (length == 4.0f ? short4 : whole));
    }
    // The shortened picture: 120 scanned rows at the top (the end of the file), black below.
    EXPECT_EQ(std::count(short4.begin(), short4.begin() + (kRows30 - 120) * kRowBytes30, 0),
              (kRows30 - 120) * kRowBytes30);
    EXPECT_NE(std::count(short4.end() - kRowBytes30, short4.end(), 0), kRowBytes30);
}

// The installed pictures of the empty lid are what a prescan of the empty bed
// leaves, byte for byte, with the driver's own sensor (gains and noise)
// calibrated, so that they cancel the lid out of a preview of items on it.
TEST_F(PrescanTest, TheInstalledLidPicturesAreTheEmptyBedsPreview) {
    const std::string patterns = WindowsDir() + "\\TWAIN\\KVSC_A3\\";
    for (uint32_t hiRes : {0u, 1u}) {
        SCOPED_TRACE(hiRes);
        const std::string pattern = patterns + (hiRes ? "pat_h.BMP" : "pat_l.BMP");
        SetScanner("Layout=lid\n");
        Prescan(hiRes);
        const std::vector<uint8_t> lid = ReadWholeFile(pattern);
        ASSERT_EQ(lid.size(), hiRes ? 54 + 2108 * 1020u : 54 + kRowBytes30 * kRows30);
        EXPECT_TRUE(ReadWholeFile(PreviewPath()) == lid);

        SetScanner("Layout=photos\n");
        Prescan(hiRes);
        const detection::Result found = detection::DetectRegions(PreviewPath(), pattern, 0, hiRes, 11.7 / 351);
        EXPECT_EQ(found.outcome, detection::Outcome::kRegions);
        EXPECT_EQ(found.regions.size(), 2u);
    }
}

// Every failure leaves no picture, not even the previous one, and shows its
// message once, in the caller's language.
TEST_F(PrescanTest, FailuresLeaveNoPicture) {
    struct Case {
        const char* keys;
        uint32_t language;
        const char* text;  // "" = no message
        const char* caption;
    };
    const Case cases[] = {
        {"F1.1=0x8414\n", 0, " Slide Scanner Cover not Closed!", "SCANNER Flatbed Scanner"},
        {"F8.1=0x8217\n", 1, " Papierstau im automatischen Vorlageneinzug", "SCANNER Flachbettscanner"},
        {"F2.1=0x8000\n", 2, "", "Scanner à plat non prêt."},
        {"InquiryStatus=0x00FF\n", 0, "", "Flatbed Scanner not ready."},
        {"InquiryStatus=5\n", 7, "", "找不到平板扫描仪。"},
        {"ResolutionCode=abcd\n", 0, nullptr, nullptr},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        SetScanner(c.keys);
        { std::ofstream stale(PreviewPath()); stale << "an older picture"; }
        Prescan(0, 17.0f, c.language);
        ++run;
        EXPECT_FALSE(FileExists(PreviewPath()));
        EXPECT_FALSE(FileExists(InstallDir() + "\\ORVC0000.TMP"));
        if (!c.caption) {
            EXPECT_TRUE(recorder.boxes.empty());
            continue;
        }
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, c.caption);
        if (*c.text) {
            EXPECT_EQ(recorder.boxes[0].text, c.text);
        }
    }
    EXPECT_EQ(run, 6);
}

// The model-number form of the resolution code is the same scanner.
TEST_F(PrescanTest, BothFormsOfTheResolutionCode) {
    for (const char* code : {"600 ", "6000"}) {
        SCOPED_TRACE(code);
        SetScanner(kUniformSensor + "ResolutionCode=\"" + code + "\"\n");
        Prescan();
        EXPECT_TRUE(recorder.boxes.empty());
        const std::vector<uint8_t> file = ReadWholeFile(PreviewPath());
        EXPECT_EQ(file.size(), 54 + size_t{kRowBytes30} * kRows30);
    }
}

// Escape before a read stops the scanner and waits for it; nothing is shown
// and no picture is left.
TEST_F(PrescanTest, EscapeCancelsTheReads) {
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0));
    Prescan();
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_FALSE(FileExists(PreviewPath()));
    const std::vector<std::string> requests = Requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "F8"), 0);
    EXPECT_EQ(requests[requests.size() - 2], "F6");
    EXPECT_EQ(requests.back(), "F9");
}

// Every language has every text and both notices of its own.
TEST_F(PrescanTest, TextsAndNoticesInEightLanguages) {
    const int numbers[] = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17, 18, 19};
    for (int language = 0; language < 8; ++language) {
        SCOPED_TRACE(language);
        for (int number : numbers) {
            wchar_t text[256] = {}, english[256] = {};
            EXPECT_GT(LoadStringW(module, static_cast<UINT>(50 * language + number), text, 256), 0) << number;
            LoadStringW(module, static_cast<UINT>(number), english, 256);
            if (language > 0) {
                EXPECT_NE(std::wstring(text), std::wstring(english)) << number;  // translated
            }
        }
        const int notReady = language == 0 ? 302 : 303 + language;
        const int warmingUp = language == 0 ? 300 : 310 + language;
        for (int id : {notReady, warmingUp})
            EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)), nullptr) << id;  // RT_DIALOG
    }
}

// A fault after the picture is written keeps it and is reported once.
TEST_F(PrescanTest, AFaultAfterTheLastLineKeepsThePicture) {
    SetScanner("F9.2=1\n");
    Prescan();
    EXPECT_TRUE(FileExists(PreviewPath()));
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "Flatbed Scanner not ready.");
}

// A scanner that misreports its line width fails the prescan with the
// not-ready message before any read; one that reports more lines than the
// picture has rows gives the whole picture, nothing written past it.
TEST_F(PrescanTest, MisreportedScanGeometry) {
    for (const char* keys : {"ReportedBytesPerLine=0\n", "ReportedBytesPerLine=1054\n", "ReportedBytesPerLine=1059\n"}) {
        SCOPED_TRACE(keys);
        SetScanner(keys);
        Prescan();
        EXPECT_FALSE(FileExists(PreviewPath()));
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, "Flatbed Scanner not ready.");
        EXPECT_EQ(CountRequests(blocks::kReadImageData), 0);
        EXPECT_EQ(CountRequests(blocks::kStopScan), 1);
    }
    SetScanner(kUniformSensor + "ReportedLines=600\n");
    Prescan();
    EXPECT_TRUE(recorder.boxes.empty());
    const std::vector<uint8_t> file = ReadWholeFile(PreviewPath());
    ASSERT_EQ(file.size(), 54 + size_t{kRowBytes30} * kRows30);
    EXPECT_TRUE(Pixels(file) == ExpectedRows(kUniformSensor, 30, kRows30, sim::Calibration{}));
}

// An installation folder with less room than the picture (ctest runs this
// case once more on a small folder of its own): the disk message once, the
// scanner stopped, and no picture, old or new.
TEST_F(PrescanTest, FullDiskShowsItsMessageAndLeavesNoPicture) {
    ULARGE_INTEGER available{};
    ASSERT_TRUE(GetDiskFreeSpaceExA((InstallDir() + "\\").c_str(), &available, nullptr, nullptr));
    if (available.QuadPart > kRowBytes30 * kRows30) GTEST_SKIP() << "the installation folder has room for the picture";
    SetScanner("");
    Prescan();
    EXPECT_FALSE(FileExists(PreviewPath()));
    EXPECT_FALSE(FileExists(InstallDir() + "\\ORVC0000.TMP"));
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Disk space not enough.");
    EXPECT_EQ(CountRequests(blocks::kStopScan), 1);
}

}  // namespace

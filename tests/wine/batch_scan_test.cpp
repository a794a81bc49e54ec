// Batch runs through the data source, as a host sees them: the main dialog's
// Scan runs the jobs of the batch list one after another; a job whose scan
// fails shows cancelled and the next one runs; with Scan To File every job
// ends up in a file of its own.
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "engine/region_detection.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/ds_fixture.h"
#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;

BOOL CALLBACK MatchBatchWindow(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || !GetDlgItem(window, IDC_BATCH_LIST)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

class BatchScanTest : public SourceTest {
protected:
    // 12 x 12 pixels of 256 grey: 30 dpi is one pixel per preview unit.
    void SetUp() override {
        SourceTest::SetUp();
        SetProfile("A3 SCANNER", "ScanMode", "1013");
        SetProfile("A3 SCANNER", "ScanRes", "30");
        SetProfile("A3 SCANNER", "Frame", "10  10  22  22  ");
    }

    // The dialog with its batch list open, holding `jobs` copies of the settings.
    void OpenListWith(int jobs) {
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
        ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        dialog = FindMainDialog();
        ASSERT_NE(dialog, nullptr);
        SendMessageW(dialog, WM_COMMAND, IDC_MP_BATCH_SCAN, 0);
        EnumThreadWindows(GetCurrentThreadId(), MatchBatchWindow, reinterpret_cast<LPARAM>(&list));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < jobs; ++i) Notify(list, IDC_BATCH_DUPLICATE, STN_CLICKED);
    }

    TW_UINT16 PressScan() {
        HWND main = dialog;
        host.Defer([main] { PostMessageW(main, WM_COMMAND, IDC_SCAN, 0); });
        return host.WaitForNotification(20000);
    }

    void EndTransfer() {
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    }

    // Runs the host's loop until the list's last line ends with `status`.
    bool WaitForLastLine(const std::string& status) {
        for (int i = 0; i < 200; ++i) {
            const std::vector<std::string> lines = ListLines(list, IDC_BATCH_LIST);
            const std::string& last = lines.back();
            if (last.size() >= status.size() && last.compare(last.size() - status.size(), status.size(), status) == 0)
                return true;
            host.Pump(100);
        }
        return false;
    }

    static std::string TempFile(const char* name) {
        char directory[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, directory);
        return std::string(directory) + name;
    }

    // The pixels of a grey TIFF whose one strip ends the file.
    static std::vector<uint8_t> TiffPixels(const std::string& path, size_t count) {
        const std::vector<uint8_t> bytes = FileBytes(path);
        return bytes.size() < count ? std::vector<uint8_t>{} : std::vector<uint8_t>(bytes.end() - count, bytes.end());
    }

    static std::vector<uint8_t> FileBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // A little-endian TIFF whose first directory says `width` x `length`
    // pixels of 8 bits in one strip of width x length bytes, which ends the file.
    static void ExpectGreyTiff(const std::string& path, uint32_t width, uint32_t length) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> bytes = FileBytes(path);
        ASSERT_GE(bytes.size(), 8u);
        auto u16 = [&](size_t at) { return static_cast<uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8); };
        auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
        ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), std::string("II*\0", 4));
        const size_t directory = u32(4);
        std::map<uint32_t, uint32_t> tags;
        for (uint32_t i = 0; i < u16(directory); ++i) {
            const size_t entry = directory + 2 + 12 * i;
            tags[u16(entry)] = u16(entry + 2) == 3 ? u16(entry + 8) : u32(entry + 8);
        }
        EXPECT_EQ(tags[256], width);
        EXPECT_EQ(tags[257], length);
        EXPECT_EQ(tags[258], 8u);
        EXPECT_EQ(tags[279], width * length);
        EXPECT_EQ(bytes.size(), tags[273] + width * length);
    }

    HostSession host;
    HWND dialog = nullptr;
    HWND list = nullptr;
};

TEST_F(BatchScanTest, AFailedJobIsCancelledAndTheNextOneRuns) {
    SetScanner("F1.2=0x8217\n");  // the first scan's parameters: paper jam
    OpenListWith(2);
    ASSERT_EQ(PressScan(), MSG_XFERREADY);  // the second job, after the first failed
    EXPECT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(ListLines(list, IDC_BATCH_LIST)[0], "1\tUntitled\t256 Gray \t 30\t cancelled");
    EXPECT_EQ(ListLines(list, IDC_BATCH_LIST)[1], "2\tUntitled\t256 Gray \t 30\t scanning");
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
    EndTransfer();
    ASSERT_TRUE(WaitForLastLine("done"));
    EXPECT_EQ(ListLines(list, IDC_BATCH_LIST)[0], "1\tUntitled\t256 Gray \t 30\t cancelled");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SCAN)));  // the run is over
}

TEST_F(BatchScanTest, EscapeCancelsTheRestOfTheRun) {
    OpenListWith(3);
    ASSERT_EQ(PressScan(), MSG_XFERREADY);
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_CANCEL);
    const std::vector<std::string> lines = ListLines(list, IDC_BATCH_LIST);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) EXPECT_EQ(line.substr(line.size() - 9), "cancelled") << line;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SCAN)));
}

TEST_F(BatchScanTest, ScanToFileWritesEveryJobToItsFile) {
    for (const char* name : {"File1.TIF", "File2.TIF", "File3.TIF"}) DeleteFileA(TempFile(name).c_str());
    OpenListWith(2);
    Click(list, IDC_BATCH_TO_FILE);
    ASSERT_EQ(PressScan(), MSG_XFERREADY);
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);  // the second job runs inside
    EndTransfer();
    ExpectGreyTiff(TempFile("File1.TIF"), 12, 12);
    ExpectGreyTiff(TempFile("File2.TIF"), 12, 12);
    EXPECT_EQ(GetFileAttributesA(TempFile("File3.TIF").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ListLines(list, IDC_BATCH_LIST)[0], "1\tFile1.TIF\t256 Gray \t 30\t done");
    EXPECT_EQ(ListLines(list, IDC_BATCH_LIST)[1], "2\tFile2.TIF\t256 Gray \t 30\t done");
    EXPECT_TRUE(recorder.boxes.empty());
}

// Prescan with the list open finds the two photographs lying on the lid;
// Scan To File then writes each to its own file, and each file holds the
// scanner's pixels of its photograph.
TEST_F(BatchScanTest, PhotographsFoundByThePrescanAreScannedToTheirOwnFiles) {
    const std::string scanner = kUniformSensor + "Layout=photos\n";
    SetScanner(scanner);
    for (const char* name : {"File1.TIF", "File2.TIF", "File3.TIF"}) DeleteFileA(TempFile(name).c_str());
    OpenListWith(0);
    Click(list, IDC_BATCH_TO_FILE);
    SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
    ASSERT_EQ(ListLines(list, IDC_BATCH_LIST).size(), 2u);
    SaveScreenshot(dialog, "batch_found_frames_en");  // both jobs' frames on the preview

    // Where the photographs lie, in inches: (1, 2)-(5, 7) and (6, 3)-(10.5, 9.5).
    const detection::Result found = detection::DetectRegions(
        InstallDir() + "\\ORVC0000.BMP", WindowsDir() + "\\TWAIN\\KVSC_A3\\pat_l.BMP", 0, false, 11.7 / 351);
    ASSERT_EQ(found.regions.size(), 2u);
    const int photos[2][4] = {{30, 60, 150, 210}, {180, 90, 315, 285}};
    for (int i = 0; i < 2; ++i) {
        const detection::Region& r = found.regions[i];
        EXPECT_NEAR(r.left, photos[i][0], 2);
        EXPECT_NEAR(r.top, photos[i][1], 2);
        EXPECT_NEAR(r.right, photos[i][2], 2);
        EXPECT_NEAR(r.bottom, photos[i][3], 2);
    }

    ASSERT_EQ(PressScan(), MSG_XFERREADY);
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);  // the second job runs inside
    EndTransfer();
    for (int i = 0; i < 2; ++i) {
        const detection::Region& r = found.regions[i];
        const DialogRequest request{sim::kGreyColourShaded, kModeGray, 30,
                                    {static_cast<uint16_t>(r.left), static_cast<uint16_t>(r.top),
                                     static_cast<uint16_t>(r.right), static_cast<uint16_t>(r.bottom)}};
        const Image expected = DialogScanImage(scanner, request, DefaultToneSettings());
        const std::string file = TempFile(i == 0 ? "File1.TIF" : "File2.TIF");
        ExpectGreyTiff(file, expected.pixels, expected.lines);
        EXPECT_TRUE(TiffPixels(file, expected.bytes.size()) == expected.bytes) << file;
    }
    EXPECT_EQ(GetFileAttributesA(TempFile("File3.TIF").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(recorder.boxes.empty());
}

}  // namespace

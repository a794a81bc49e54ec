// Faults of the work file that post-processed memory transfers pass through:
// the message each shows once, the host's return and condition codes, the
// scanner left alone, the file released, the state afterwards, and the next
// scan working.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;

// Wine's own export: the Unix name of a Windows path, from the process heap.
using UnixFileNameProc = char*(CDECL*)(const wchar_t*);

// Cuts `path` to `size` bytes with the system's truncate, a Unix program
// started through Wine's Z: drive. It is not bound by Windows share modes,
// so it reaches a file the source holds open for itself alone, as a failing
// disk would. The program runs on its own; the cut is awaited by the size.
::testing::AssertionResult CutFile(const std::string& path, uint32_t size) {
    auto unixName = reinterpret_cast<UnixFileNameProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return ::testing::AssertionFailure() << "not running under Wine";
    wchar_t widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    char* name = unixName(widePath);
    if (!name) return ::testing::AssertionFailure() << "no Unix name for " << path;
    std::string command = "Z:\\usr\\bin\\truncate -s " + std::to_string(size) + " \"" + name + "\"";
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return ::testing::AssertionFailure() << "cannot start " << command;
    // A Unix program has no Windows process to wait for.
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(10)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0 &&
            data.nFileSizeLow == size)
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << path << " was not cut to " << size << " bytes";
}

// True when nobody holds `path` open: it can be opened for one user alone.
bool Released(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

BOOL CALLBACK CountVisibleDialog(HWND window, LPARAM count) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Visible dialog windows of this thread: the main dialog and, while the
// transfer runs, the progress window.
int VisibleDialogs() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountVisibleDialog, reinterpret_cast<LPARAM>(&count));
    return count;
}

class WorkFileFaultTest : public SettingsScanTest {
protected:
    std::string DefaultTransferFile() {
        TW_SETUPFILEXFER setup{};
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT, &setup), TWRC_SUCCESS);
        return setup.FileName;
    }
};

TEST_F(WorkFileFaultTest, ReadBackFailureEndsTheTransferOnceAndTheNextScanWorks) {
    // Invert sends the scan through the work file; the blocks hold 40 of the
    // 100 lines. Grey rows are 200 bytes, colour rows 600.
    const struct {
        const char* mode;
        uint16_t scanMode;
        uint8_t imageType;
        uint32_t blockLength;
        uint32_t header;  // bytes before the first stored row
    } cases[] = {{"1013", kModeGray, sim::kGreyColourShaded, 8000, 140},
                 {"1014", kModeColour, sim::kColour, 24000, 146}};
    const DialogSettings invert = {{"ScanRes", "100"}, {"Frame", kSmallFrame}, {"FilterMode", "1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        DialogSettings settings = invert;
        settings.push_back({"ScanMode", c.mode});
        Image expected = DialogScanImage(keys, {c.imageType, c.scanMode, 100, {30, 30, 90, 60}}, DefaultToneSettings());
        for (uint8_t& byte : expected.bytes) byte = static_cast<uint8_t>(~byte);

        ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
        const bool colour = c.scanMode == kModeColour;
        const std::string workFile = colour ? DefaultTransferFile() : TempPath("Xfer_G.Tmp");
        ClearScannerLog();
        std::vector<uint8_t> buffer(c.blockLength);
        TW_IMAGEMEMXFER record{};
        ASSERT_EQ(MemoryBlock(buffer.data(), c.blockLength, record), TWRC_SUCCESS);
        ASSERT_EQ(record.Rows, 40u);
        EXPECT_EQ(VisibleDialogs(), 2);  // the read-back progress
        const size_t firstBlock = size_t{40} * expected.lineBytes;
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + firstBlock, expected.bytes.begin()));
        // The first block read the whole scan into the work file and waited
        // for the scanner to come to rest.
        const std::vector<std::string> scanned = ScannerLog();
        ASSERT_FALSE(scanned.empty());
        EXPECT_NE(scanned.back().find(" F9."), std::string::npos) << scanned.back();
        EXPECT_GT(CountRequests(8), 0);

        // The rows not yet delivered are gone from the file.
        ASSERT_TRUE(CutFile(workFile, c.header));
        EXPECT_EQ(MemoryBlock(buffer.data(), c.blockLength, record), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, "SCANNERA3 Flatbed Scanner");
        EXPECT_EQ(recorder.boxes[0].text, "Read File Failure.");
        EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONSTOP));
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        // The progress window is gone and Scan can be pressed again.
        EXPECT_EQ(VisibleDialogs(), 1);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(FindMainDialog(), IDC_SCAN)));
        // The scanner, at rest since the first block, was asked nothing more.
        EXPECT_EQ(ScannerLog(), scanned);
        // The work file is closed: the grey one deleted, the colour one (the
        // default transfer file) kept.
        EXPECT_EQ(FileExists(workFile), colour);
        if (colour) {
            EXPECT_TRUE(Released(workFile));
        }

        // The image is over: no further block, and no second message.
        EXPECT_EQ(SourceState(host), 7);
        EXPECT_EQ(MemoryBlock(buffer.data(), c.blockLength, record), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
        EXPECT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        EXPECT_EQ(SourceState(host), 5);
        recorder.boxes.clear();

        // The same scan again is whole.
        ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
        const MemoryBlocks taken = MemoryImage(c.blockLength);
        EXPECT_EQ(taken.records.size(), 3u);
        EXPECT_TRUE(SamePixels(expected, taken.rows));
        EXPECT_TRUE(TakeMessages().empty());
    }
}

}  // namespace

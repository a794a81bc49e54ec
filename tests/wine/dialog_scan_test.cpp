// The dialog's Scan button: the scan runs with the dialog's settings, the
// status window shows its texts and percentage while the host transfers, and
// the settings are written back after the start.
#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

class DialogScanTest : public SourceTest {
protected:
    // Enables with the dialog and presses its Scan button from the loop.
    TW_UINT16 PressScan(DWORD waitMs = 20000) {
        EXPECT_EQ(Open(host), TWRC_SUCCESS);
        EXPECT_EQ(host.Enable(true), TWRC_SUCCESS);
        HWND dialog = FindMainDialog();
        EXPECT_NE(dialog, nullptr);
        host.Defer([dialog] { PostMessageW(dialog, WM_COMMAND, 1001, 0); });
        return host.WaitForNotification(waitMs);
    }

    HostSession host;
};

TEST_F(DialogScanTest, StatusWindowShowsTheScanAndTheSettingsAreSaved) {
    SetProfile("A3 SCANNER", "ScanMode", "1013");
    SetProfile("A3 SCANNER", "ScanRes", "100");
    SetProfile("A3 SCANNER", "Frame", "30  30  90  60  ");
    ASSERT_EQ(PressScan(), MSG_XFERREADY);
    TW_IMAGEINFO info{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.PixelType, TWPT_GRAY);
    EXPECT_EQ(info.ImageLength, 100);
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);

    bool statusShown = false;
    for (const RecordedDialog& dialog : recorder.dialogs) {
        if (dialog.title != " Scanning Percentage Completed ") continue;
        statusShown = true;
        ASSERT_FALSE(dialog.texts.empty());
        EXPECT_EQ(dialog.texts[0], "scanning ...");
    }
    EXPECT_TRUE(statusShown);
    EXPECT_TRUE(recorder.boxes.empty());

    char frame[32] = {};
    GetProfileStringA("A3 SCANNER", "Frame", "", frame, sizeof frame);
    EXPECT_STREQ(frame, "30  30  90  60");  // the profile drops the trailing blanks
    char mode[8] = {};
    GetProfileStringA("A3 SCANNER", "ScanMode", "", mode, sizeof mode);
    EXPECT_STREQ(mode, "1013");
}

TEST_F(DialogScanTest, PostProcessedScanShowsTheProcessingText) {
    SetProfile("A3 SCANNER", "ScanMode", "1013");
    SetProfile("A3 SCANNER", "ScanRes", "100");
    SetProfile("A3 SCANNER", "Frame", "30  30  90  60  ");
    SetProfile("A3 SCANNER", "FilterMode", "1");
    ASSERT_EQ(PressScan(), MSG_XFERREADY);
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
    std::vector<std::string> texts;
    for (const RecordedDialog& dialog : recorder.dialogs)
        if (dialog.title == " Scanning Percentage Completed " && !dialog.texts.empty())
            texts.push_back(dialog.texts[0]);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "scanning ..."), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), " Image Processing ...   "), texts.end());
}

TEST_F(DialogScanTest, AfterAnAbandonedTransferTheDialogScansAgain) {
    SetProfile("A3 SCANNER", "ScanMode", "1013");
    SetProfile("A3 SCANNER", "ScanRes", "300");
    SetProfile("A3 SCANNER", "Frame", "30  30  90  60  ");
    ASSERT_EQ(PressScan(), MSG_XFERREADY);
    HWND dialog = FindMainDialog();
    // One block of the image, then the host ends it; then an image ended before its first block.
    for (TW_UINT16 end : {MSG_ENDXFER, MSG_RESET}) {
        SCOPED_TRACE(end);
        if (end == MSG_ENDXFER) {
            std::vector<uint8_t> buffer(4096);
            TW_IMAGEMEMXFER record{};
            record.Memory = {TWMF_APPOWNS | TWMF_POINTER, 4096, TwainRef(buffer.data())};
            ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &record), TWRC_SUCCESS);
        }
        TW_PENDINGXFERS pending{};
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_PENDINGXFERS, end, &pending), TWRC_SUCCESS);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SCAN)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_CANCEL_SCAN)));
        host.Defer([dialog] { PostMessageW(dialog, WM_COMMAND, IDC_SCAN, 0); });
        ASSERT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
    }
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
    // Cancel still asks the host to close.
    host.Defer([dialog] { PostMessageW(dialog, WM_COMMAND, IDC_CANCEL_SCAN, 0); });
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
}

TEST_F(DialogScanTest, ScanAreaTooSmallIsRefusedAndTheButtonsComeBack) {
    SetProfile("A3 SCANNER", "ScanMode", "1011");
    SetProfile("A3 SCANNER", "ScanRes", "75");
    SetProfile("A3 SCANNER", "Frame", "30  30  31  31  ");
    EXPECT_EQ(PressScan(2000), MSG_NULL);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Scan area is too small.");
    HWND dialog = FindMainDialog();
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1001)));
    EXPECT_EQ(SourceState(host), 5);
}

}  // namespace

namespace {

using namespace dstest;

// The main dialog's Load and Save open the settings-file dialogs.
TEST_F(DialogScanTest, LoadAndSaveOpenTheSettingsFileDialogs) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    HWND main = FindMainDialog();
    ASSERT_NE(main, nullptr);
    for (int button : {IDC_LOAD, IDC_SAVE}) {
        std::string title;
        DriveDialog(IDC_FILE_NAME, [&](HWND dialog) {
            title = Title(dialog);
            Click(dialog, IDC_FILE_CANCEL);
        }, [&] { return static_cast<int>(SendMessageW(main, WM_COMMAND, button, 0)); });
        EXPECT_EQ(title, button == IDC_LOAD ? "Load Setting File" : "Save Setting File");
    }
}

}  // namespace

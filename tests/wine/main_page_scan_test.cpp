// The Scan button checks the scan-area figures of the main page before it
// scans: an image under 100 bytes and a side over 30000 pixels are refused
// with their messages; the page inside the dialog shows the same figures.
#include <string>

#include "resources/resource_ids.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

class MainPageScanTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        SetProfile("A3 SCANNER", "ScanMode", "1013");
    }

    // Sets resolution, scaling and frame, then presses Scan; what the host
    // was told within `waitMs` (MSG_NULL for nothing).
    TW_UINT16 ScanWith(const char* resolution, const char* scaling, const char* frame, DWORD waitMs) {
        SetProfile("A3 SCANNER", "ScanRes", resolution);
        SetProfile("A3 SCANNER", "Scaling", scaling);
        SetProfile("A3 SCANNER", "Frame", frame);
        EXPECT_EQ(Open(host), TWRC_SUCCESS);
        EXPECT_EQ(host.Enable(true), TWRC_SUCCESS);
        dialog = FindMainDialog();
        EXPECT_NE(dialog, nullptr);
        HWND main = dialog;
        host.Defer([main] { PostMessageW(main, WM_COMMAND, IDC_SCAN, 0); });
        return host.WaitForNotification(waitMs);
    }

    // The main page inside the dialog.
    HWND Page() { return GetDlgItem(dialog, IDD_MAIN_PAGE); }

    HostSession host;
    HWND dialog = nullptr;
};

// 30 dpi: one pixel per preview unit; 9 x 11 units are 99 bytes of grey.
TEST_F(MainPageScanTest, NinetyNineBytesAreTooFew) {
    EXPECT_EQ(ScanWith("30", "100", "10  10  19  21  ", 2000), MSG_NULL);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Scan area is too small.");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SCAN)));
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(ControlText(Page(), IDC_MP_SIZE), "0.10");  // 99 / 1024
}

TEST_F(MainPageScanTest, AHundredBytesAreScanned) {
    EXPECT_EQ(ScanWith("30", "100", "10  10  20  20  ", 20000), MSG_XFERREADY);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
}

// 800 dpi at 375 % is 3000 dots per inch: 300 units (10 inches) are 30000
// pixels. At 328 % (2624 dpi) 343 units are 30001 pixels.
TEST_F(MainPageScanTest, ThirtyThousandPixelsAcrossAreScanned) {
    EXPECT_EQ(ScanWith("800", "375", "0   0   300 1   ", 60000), MSG_XFERREADY);
    for (const RecordedBox& box : recorder.boxes) EXPECT_EQ(box.text.find("pixels"), std::string::npos) << box.text;
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(ControlText(Page(), IDC_MP_WIDTH), "37.50");  // 10 inches at 375 %
}

TEST_F(MainPageScanTest, ThirtyThousandAndOnePixelsAreRefused) {
    EXPECT_EQ(ScanWith("800", "328", "0   0   343 1   ", 2000), MSG_NULL);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "The Number of width pixels must less than 30000");
    EXPECT_EQ(recorder.boxes[0].caption, "");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SCAN)));
}

TEST_F(MainPageScanTest, ThirtyThousandAndOneLinesAreRefused) {
    EXPECT_EQ(ScanWith("800", "328", "0   0   1   343 ", 2000), MSG_NULL);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "The Number of length pixels must less than 30000");
}

// With a document feeder in use the page size the host negotiated is
// scanned, not the preview frame: A5 is 5.83 x 8.27 inches.
TEST_F(MainPageScanTest, TheFeederScansTheNegotiatedPageSize) {
    SetScanner("Feeder=1\n");
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(host.SetOneValue(ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_A5, DG_IMAGE), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    dialog = FindMainDialog();
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(ControlText(Page(), IDC_MP_WIDTH), "5.83");
    EXPECT_EQ(ControlText(Page(), IDC_MP_LENGTH), "8.27");
}

}  // namespace

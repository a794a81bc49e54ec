// The scan command through the unattended scan: MSG_ENABLEDS without the user
// interface sets the scanner up from the negotiated values and posts
// MSG_XFERREADY, or shows why it cannot and asks the host to close.
#include <cstring>

#include "device/request_blocks.h"
#include "tests/wine/ds_fixture.h"
#include "twain/fix32.h"

namespace {

using namespace dstest;

class ScanCommandTest : public SourceTest {
protected:
    // Configures the scanner (read when the source opens) and opens the source.
    void Start(const std::string& scannerKeys = "") {
        SetScanner(scannerKeys);
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
        ClearScannerLog();
    }

    void SetFrame(float left, float top, float right, float bottom) {
        ASSERT_EQ(host.SetFrame(left, top, right, bottom), TWRC_SUCCESS);
    }

    // Pixel type and a resolution index (1 = 100 dpi).
    void Choose(TW_UINT16 pixelType, TW_UINT16 dpi) {
        ASSERT_EQ(host.SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, pixelType), TWRC_SUCCESS);
        ASSERT_EQ(host.SetOneValue(ICAP_XRESOLUTION, TWTY_FIX32, Fix32ToContainer(Fix32FromInt(dpi))), TWRC_SUCCESS);
    }

    TW_IMAGEINFO ImageInfo() {
        TW_IMAGEINFO info{};
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
        return info;
    }

    // The functions requested, in order, from the scanner's log.
    std::string Requests() {
        std::string order;
        for (const std::string& line : ScannerLog()) {
            size_t f = line.find(" F");
            if (f == std::string::npos || line.compare(0, 6, "CONFIG") == 0) continue;
            order += line.substr(f + 2, line.find('.', f) - f - 2) + " ";
        }
        return order;
    }

    HostSession host;
};

TEST_F(ScanCommandTest, EveryInquiryFindsItsIdentityBytesCleared) {
    Start();
    SetFrame(1, 1, 2, 2);
    for (int scan = 0; scan < 2; ++scan) {
        if (host.enabled) host.Disable();
        ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
        ASSERT_EQ(host.WaitForNotification(10000), MSG_XFERREADY);
        EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    }
    EXPECT_EQ(CountRequests(blocks::kInquiry), 2);
    for (const std::string& line : ScannerLog()) EXPECT_EQ(line.find("stale-identity"), std::string::npos) << line;
}

TEST_F(ScanCommandTest, ColourFrameIsReadyWithItsDescription) {
    Start();
    Choose(TWPT_RGB, 100);
    SetFrame(1, 1, 5, 4);
    ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
    EXPECT_EQ(host.WaitForNotification(10000), MSG_XFERREADY);
    TW_IMAGEINFO info = ImageInfo();
    EXPECT_EQ(info.ImageWidth, 400);
    EXPECT_EQ(info.ImageLength, 300);
    EXPECT_EQ(info.XResolution.Whole, 100);
    EXPECT_EQ(info.BitsPerPixel, 24);
    EXPECT_EQ(info.SamplesPerPixel, 3);
    EXPECT_EQ(info.PixelType, TWPT_RGB);
    // Inquiry, status, parameters, calibration (size, read, send), tone tables, start.
    EXPECT_EQ(Requests(), "0 9 1 7 2 3 4 5 ");
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(ScanCommandTest, GreyAndLineArtDescriptions) {
    Start();
    Choose(TWPT_GRAY, 100);
    SetFrame(1, 1, 5, 4);
    ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
    EXPECT_EQ(host.WaitForNotification(10000), MSG_XFERREADY);
    TW_IMAGEINFO grey = ImageInfo();
    EXPECT_EQ(grey.BitsPerPixel, 8);
    EXPECT_EQ(grey.PixelType, TWPT_GRAY);
    EXPECT_EQ(grey.ImageWidth, 400);
}

TEST_F(ScanCommandTest, EmptyLayoutScansTheDefaultArea) {
    Start();
    Choose(TWPT_GRAY, 75);
    ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
    EXPECT_EQ(host.WaitForNotification(10000), MSG_XFERREADY);
    TW_IMAGEINFO info = ImageInfo();
    // 17 mm .. 216 mm wide, 295 mm long, at 75 dpi (narrowed to an accepted width).
    EXPECT_NEAR(info.ImageWidth, 587, 4);
    EXPECT_NEAR(info.ImageLength, 871, 1);
}

TEST_F(ScanCommandTest, InvertedFrameIsRefusedBeforeAnyScannerRequest) {
    Start();
    Choose(TWPT_GRAY, 100);
    SetFrame(5, 1, 1, 4);
    EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Incorrect scan area settings.");
    EXPECT_EQ(Requests(), "");
}

TEST_F(ScanCommandTest, CoverOpenAtParametersStopsTheScanner) {
    Start("F1.2=0x8414\n");  // request 1 was the lamp time-out at open
    Choose(TWPT_GRAY, 100);
    SetFrame(1, 1, 2, 2);
    EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, " Slide Scanner Cover not Closed!");
    EXPECT_EQ(Requests(), "0 9 1 6 9 ");
}

TEST_F(ScanCommandTest, PaperJamAtParametersIsAnOperationError) {
    Start("F1.2=0x8217\n");
    Choose(TWPT_GRAY, 100);
    SetFrame(1, 1, 2, 2);
    EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, " Paper Jammed in Automatic Document Feeder");
}

TEST_F(ScanCommandTest, RefusedToneTablesAndStartShowTransferFailure) {
    Start();
    for (const char* script : {"F4.1=1\n", "F5.1=1\n"}) {
        SetScanner(script);
        ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
        ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
        Choose(TWPT_GRAY, 100);
        SetFrame(1, 1, 2, 2);
        recorder.boxes.clear();
        EXPECT_EQ(host.Enable(false), TWRC_FAILURE) << script;
        ASSERT_EQ(recorder.boxes.size(), 1u) << script;
        EXPECT_EQ(recorder.boxes[0].text, "Transferring is failure.");
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
    }
}

TEST_F(ScanCommandTest, ShadingFailureShowsItsMessage) {
    Start("F2.1=1\n");
    Choose(TWPT_GRAY, 100);
    SetFrame(1, 1, 2, 2);
    EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Shading correction fail.");
}

TEST_F(ScanCommandTest, NotFoundAtScanStart) {
    Start("F0.2=0x1234\n");
    Choose(TWPT_GRAY, 100);
    SetFrame(1, 1, 2, 2);
    EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "SCANNERFlatbed Scanner not found.");
}

}  // namespace

// Scanner status codes at the requests of a scan and during the reads: the
// message each shows once, the host's return and condition codes, the
// scanner stopped, the state afterwards, and the next scan working.
#include <vector>

#include "tests/wine/ds_fixture.h"
#include "twain/fix32.h"

namespace {

using namespace dstest;

// Colour at 300 dpi over 5 x 5 inches: four chunks of the 2 MB scan buffer.
constexpr float kSide = 5;

class ScanFaultTest : public SourceTest {
protected:
    void Start(const std::string& scannerKeys) {
        SetScanner(scannerKeys);
        recorder.boxes.clear();
        host.notifications.clear();
        host.notificationsTaken = 0;
        ASSERT_EQ(host.dsmOpen ? host.OpenSource("") : Open(host), TWRC_SUCCESS);
        ASSERT_EQ(host.SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB), TWRC_SUCCESS);
        ASSERT_EQ(host.SetOneValue(ICAP_XRESOLUTION, TWTY_FIX32, Fix32ToContainer(Fix32FromInt(300))), TWRC_SUCCESS);
        ASSERT_EQ(host.SetFrame(1, 1, 1 + kSide, 1 + kSide), TWRC_SUCCESS);
        ClearScannerLog();
    }

    TW_UINT16 EndTransfer() {
        TW_PENDINGXFERS pending{};
        return host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    }

    // A whole scan that works, from state 4 back to state 5.
    void ScanWorks() {
        recorder.boxes.clear();
        host.notifications.clear();
        host.notificationsTaken = 0;
        if (host.enabled) host.Disable();
        ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
        ASSERT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
        EXPECT_EQ(host.TakeAllMemoryBlocks(1 << 20), TWRC_XFERDONE);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        EXPECT_TRUE(recorder.boxes.empty());
    }

    // Functions requested after the first request of function `after`.
    bool StopFollows(const std::string& request) {
        bool seen = false;
        for (const std::string& line : ScannerLog()) {
            if (line.find(" " + request + " ") != std::string::npos) seen = true;
            if (seen && line.find(" F6.") != std::string::npos) return true;
        }
        return false;
    }

    void ExpectOneBox(const std::string& caption, const std::string& text) {
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, caption);
        EXPECT_EQ(recorder.boxes[0].text, text);
    }

    HostSession host;
};

const char kDevice[] = "SCANNERA3 Flatbed Scanner";

struct SetupFault {
    const char* script;  // request 1 of functions 0, 1 and 9 belong to the open
    const char* caption;
    const char* text;
    const char* stoppedAfter;
};

TEST_F(ScanFaultTest, RefusedScanParametersShowTheirMessageAndStopTheScanner) {
    const SetupFault faults[] = {
        {"F1.2=0x8217\n", kDevice, " Paper Jammed in Automatic Document Feeder", "F1.2"},
        {"F1.2=0x8321\n", kDevice, " No Paper in Automatic Document Feeder", "F1.2"},
        {"F1.2=0x8414\n", kDevice, " Slide Scanner Cover not Closed!", "F1.2"},
        {"F1.2=0x4000\n", "SCANNERFlatbed Scanner not ready.", kChecklist.c_str(), "F1.2"},
        {"F7.1=1\n", kDevice, "Shading correction fail.", "F7.1"},
        {"F3.1=1\n", kDevice, "Shading correction fail.", "F3.1"},
        {"F4.1=1\n", kDevice, "Transferring is failure.", "F4.1"},
        {"F5.1=1\n", kDevice, "Transferring is failure.", "F5.1"},
    };
    for (const SetupFault& fault : faults) {
        SCOPED_TRACE(fault.script);
        Start(fault.script);
        EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        ExpectOneBox(fault.caption, fault.text);
        EXPECT_TRUE(StopFollows(fault.stoppedAfter));
        EXPECT_EQ(SourceState(host), 4);
        ScanWorks();
        host.CloseSource();
    }
}

TEST_F(ScanFaultTest, NotReadyOrLostScannerAtTheScanStart) {
    const SetupFault faults[] = {
        {"F0.2=0x00FF\n", "SCANNERFlatbed Scanner not ready.", kChecklist.c_str(), nullptr},
        {"F0.2=0x1234\n", "SCANNERFlatbed Scanner not found.", kChecklist.c_str(), nullptr},
        {"F9.2=1\n", kDevice, "Scanner is not operating normally! Please restart the scanner.", nullptr},
    };
    for (const SetupFault& fault : faults) {
        SCOPED_TRACE(fault.script);
        Start(fault.script);
        EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        ExpectOneBox(fault.caption, fault.text);
        EXPECT_EQ(CountRequests(1), 0);  // no scan parameters after a failed start
        ScanWorks();
        host.CloseSource();
    }
}

struct ReadFault {
    const char* script;
    const char* caption;
    const char* text;
};

TEST_F(ScanFaultTest, ReadStatusesEndTheTransferWithTheirMessage) {
    const ReadFault faults[] = {
        {"F8.2=0x8217\n", kDevice, " Paper Jammed in Automatic Document Feeder"},
        {"F8.3=0x8414\n", kDevice, " Slide Scanner Cover not Closed!"},
        {"F8.4=0x4000\n", "SCANNERFlatbed Scanner not ready.", kChecklist.c_str()},
    };
    for (const ReadFault& fault : faults) {
        SCOPED_TRACE(fault.script);
        Start(fault.script);
        ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
        ASSERT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
        EXPECT_EQ(host.TakeAllMemoryBlocks(1 << 20), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        ExpectOneBox(fault.caption, fault.text);
        EXPECT_TRUE(StopFollows(std::string(fault.script, 4)));
        EXPECT_EQ(SourceState(host), 7);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        ScanWorks();
        host.CloseSource();
    }
}

TEST_F(ScanFaultTest, NoPaperTwiceOnOneReadFailsTheTransfer) {
    Start("F8.2=0x8321\nF8.3=0x8321\n");
    ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
    ASSERT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
    EXPECT_EQ(host.TakeAllMemoryBlocks(1 << 20), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    ExpectOneBox(kDevice, " No Paper in Automatic Document Feeder");
    // The first chunk, then the second read and its one repeat.
    EXPECT_EQ(CountRequests(8), 3);
    EXPECT_TRUE(StopFollows("F8.3"));
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
}

TEST_F(ScanFaultTest, FaultAtTheLastStatusPollIsShownAfterTheImage) {
    // Status polls: one at open, one at the scan start, then the one after the last line.
    Start("F9.3=1\n");
    ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
    ASSERT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
    EXPECT_EQ(host.TakeAllMemoryBlocks(1 << 20), TWRC_XFERDONE);
    ExpectOneBox(kDevice, "Scanner is not operating normally! Please restart the scanner.");
}

}  // namespace

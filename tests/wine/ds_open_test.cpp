// Opening the data source: the driver library, the scanner's answers, and
// the message each failure shows.
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

class OpenTest : public SourceTest {};

const char kDeviceCaption[] = "SCANNERA3 Flatbed Scanner";

TEST_F(OpenTest, DefaultScannerOpensWithoutAMessage) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_NE(host.source.Id, 0u);
    EXPECT_STREQ(host.source.Version.Info, "11031kvsc_a3.d\nAdaptec Card\n");
    // The lamp time-out goes to the scanner once at open.
    EXPECT_EQ(CountRequests(1), 1);
    EXPECT_EQ(host.CloseSource(), TWRC_SUCCESS);
}

TEST_F(OpenTest, MissingDriverFailsWithoutMessageAndLeavesNothingLoaded) {
    SetProfile("KVSINFO_A3", "DRIVER", "NOSUCH.DLL");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(OpenTest, DriverWithoutTheEntryPointsIsNotUsed) {
    // A library that loads but is no scanner driver.
    std::string copy = InstallDir() + "\\NOENTRY.DLL";
    ASSERT_TRUE(CopyFileA((ProgramDirectory() + "\\" + kManagerLibrary).c_str(), copy.c_str(), FALSE));
    SetProfile("KVSINFO_A3", "DRIVER", "NOENTRY.DLL");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    EXPECT_TRUE(recorder.boxes.empty());
    DeleteFileA(copy.c_str());
}

TEST_F(OpenTest, DriverNameInOtherCaseStillLoads) {
    SetProfile("KVSINFO_A3", "DRIVER", "kvaspi_sp.dll");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_SUCCESS);
}

TEST_F(OpenTest, NoScannerInterfaceShowsNotReadyOnce) {
    SetScanner("AddrChk=0\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "SCANNERFlatbed Scanner not ready.");
    EXPECT_EQ(recorder.boxes[0].text, kChecklist);
    EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(CountRequests(0), 0);
    // A failed open leaves no driver library behind.
    EXPECT_EQ(GetModuleHandleA("KVASPI_SP.DLL"), nullptr);
}

TEST_F(OpenTest, InquiryNotReadyShowsTheMessageAndTheIdentityDecides) {
    SetScanner("InquiryStatus=0x00FF\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "SCANNERFlatbed Scanner not ready.");
    // No ready wait for a scanner that says it is not ready.
    EXPECT_EQ(CountRequests(9), 0);
}

TEST_F(OpenTest, InquiryNotReadyWithForeignIdentityFails) {
    SetScanner("InquiryStatus=0x00FF\nCapabilityFlags=0\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(recorder.boxes[0].caption, "SCANNERFlatbed Scanner not ready.");
    EXPECT_EQ(recorder.boxes[1].text, " This Twain Data Source does not match with Scanner!");
}

TEST_F(OpenTest, OtherInquiryStatusMeansNoScanner) {
    SetScanner("InquiryStatus=0x1234\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "SCANNERFlatbed Scanner not found.");
    EXPECT_EQ(recorder.boxes[0].text, kChecklist);
    EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONINFORMATION));
}

TEST_F(OpenTest, ScannerOfAnotherFamilyIsRefused) {
    SetScanner("CapabilityFlags=0xBF\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, kDeviceCaption);
    EXPECT_EQ(recorder.boxes[0].text, " This Twain Data Source does not match with Scanner!");
    EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONSTOP));
}

TEST_F(OpenTest, TellarisBrandSeparatesTheCaption) {
    SetProfile("KVSINFO_A3", "BRAND", "Tellaris");
    SetScanner("CapabilityFlags=0\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "Tellaris A3 Flatbed Scanner");
}

TEST_F(OpenTest, WarmingUpScannerShowsTheNoticeUntilReady) {
    SetScanner("WarmupPolls=3\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_SUCCESS);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(CountRequests(9), 4);
    ASSERT_EQ(recorder.dialogs.size(), 1u);
    ASSERT_EQ(recorder.dialogs[0].texts.size(), 2u);
    EXPECT_EQ(recorder.dialogs[0].texts[0], "The scanner is not ready.");
    EXPECT_EQ(recorder.dialogs[0].texts[1], "Please wait...");
}

TEST_F(OpenTest, AScannerNeverReadyIsGivenUpAfterTheReadyWait) {
    SetScanner("NeverReady=1\n");
    SetProfile("A3 SCANNER", "ReadyWait", "1");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "SCANNERFlatbed Scanner not ready.");
    ASSERT_EQ(recorder.dialogs.size(), 1u);
    EXPECT_EQ(recorder.dialogs[0].texts[0], "The scanner is not ready.");
    EXPECT_GE(CountRequests(9), 10);  // polled all second long
}

TEST_F(OpenTest, ReadyScannerShowsNoNotice) {
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_SUCCESS);
    EXPECT_TRUE(recorder.dialogs.empty());
}

TEST_F(OpenTest, FaultWhileWaitingEndsTheOpen) {
    SetScanner("WarmupPolls=2\nF9.2=1\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, kDeviceCaption);
    EXPECT_EQ(recorder.boxes[0].text, "Scanner is not operating normally! Please restart the scanner.");
    EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONSTOP));
    EXPECT_EQ(CountRequests(9), 2);
}

TEST_F(OpenTest, SharingProgramHoldsTheScanner) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Lendaro";
    ASSERT_TRUE(RegisterClassA(&windowClass));
    HWND sharing = CreateWindowA("Lendaro", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
    ASSERT_NE(sharing, nullptr);
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    DestroyWindow(sharing);
    UnregisterClassA("Lendaro", windowClass.hInstance);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "SCANNERA3 Flatbed Scanner");
    EXPECT_EQ(recorder.boxes[0].text, SourceText(833) + SourceText(834) + "\n" + SourceText(835));
    EXPECT_EQ(recorder.boxes[0].icon, 0u);
    EXPECT_EQ(CountRequests(0), 0);
}

TEST_F(OpenTest, GermanTextsComeFromTheGermanBlock) {
    SetProfile("KVSINFO_A3", "LANGUAGE", "Deutsch");
    SetScanner("CapabilityFlags=0\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, SourceText(1623));
    EXPECT_NE(recorder.boxes[0].text, SourceText(623));
}

TEST_F(OpenTest, UnknownLanguageFallsBackToEnglish) {
    SetProfile("KVSINFO_A3", "LANGUAGE", "deutsch");
    SetScanner("CapabilityFlags=0\n");
    HostSession host;
    EXPECT_EQ(Open(host), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, SourceText(623));
}

TEST_F(OpenTest, SecondOpenOfAnOpenSourceIsRefused) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    TW_IDENTITY identity = host.source;
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_MAXCONNECTIONS);
}

TEST_F(OpenTest, SourceOpensAgainAfterClose) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
    EXPECT_EQ(host.OpenSource("A3 Flatbed Scanner"), TWRC_SUCCESS);
}

// A host that loaded the TWAIN 2 manager hears from the source through it,
// though TWAIN_32.DLL is there too: a source that posted through TWAIN_32.DLL
// would reach a manager that knows nothing of the host.
TEST_F(OpenTest, NotificationsGoThroughTheManagerTheHostLoaded) {
#ifdef _WIN64
    GTEST_SKIP() << "the 64-bit stand-in is TWAINDSM.DLL itself, which every test goes through";
#else
    const std::string folder = ProgramDirectory() + "\\twain2";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string manager = folder + "\\TWAINDSM.DLL";
    ASSERT_TRUE(CopyFileA((ProgramDirectory() + "\\" + kManagerLibrary).c_str(), manager.c_str(), FALSE));
    {
        HostSession host;
        host.managerLibrary = manager;
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
        ASSERT_EQ(host.Enable(false), TWRC_SUCCESS);
        EXPECT_EQ(host.WaitForNotification(30000), MSG_XFERREADY);
        EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
    }
    DeleteFileA(manager.c_str());
#endif
}

}  // namespace

// The data source's user interface as far as TWAIN sees it: MSG_ENABLEDS
// shows the "SCANNER" dialog, its messages reach it through the host's loop,
// Cancel and the close box ask the host to close the source, MSG_DISABLEDS
// hides the dialog and MSG_CLOSEDS destroys it.
#include <vector>

#include "tests/wine/ds_fixture.h"
#include "tests/wine/screenshot.h"

namespace {

using namespace dstest;

constexpr int kScan = 1001;
constexpr int kPrescan = 1002;
constexpr int kCancel = 1003;

// Button ids with the numbers of their texts in the string table.
struct Button {
    int control;
    int text;
};
const Button kButtons[] = {{kPrescan, 306}, {kScan, 307}, {1005, 302}, {1006, 309},
                           {1007, 310},     {1008, 352}, {1009, 311}};

std::string ControlText(HWND dialog, int control) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, control, text, 256);
    return Utf8(text);
}

std::string WindowTitle(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Utf8(text);
}

bool Enabled(HWND dialog, int control) { return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE; }

// As while a scan runs: the scan buttons are off.
void DisableButtons(HWND dialog, std::initializer_list<int> controls) {
    for (int control : controls) EnableWindow(GetDlgItem(dialog, control), FALSE);
}

class UiTest : public SourceTest {
protected:
    // Opens the source and enables it with its dialog; the dialog.
    HWND OpenWithDialog(HostSession& host) {
        EXPECT_EQ(Open(host), TWRC_SUCCESS);
        EXPECT_EQ(host.Enable(true), TWRC_SUCCESS);
        return FindMainDialog();
    }

    // Runs the host's loop until everything posted so far has been handled;
    // true when no notification arrived meanwhile.
    static bool NoFurtherNotification(HostSession& host) {
        const TW_UINT16 marker = 0xFFFE;
        host.Defer([&host, marker] { host.notifications.push_back(marker); });
        return host.WaitForNotification(30000) == marker;
    }
};

TEST_F(UiTest, EnableShowsTheScannerDialogInEnglish) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(FindMainDialog(), nullptr);
    TW_USERINTERFACE ui{};
    ASSERT_EQ(host.Enable(true, &ui), TWRC_SUCCESS);
    EXPECT_EQ(ui.ModalUI, 1);
    EXPECT_EQ(SourceState(host), 5);

    HWND dialog = FindMainDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_EQ(WindowTitle(dialog), "");
    EXPECT_EQ(ControlText(dialog, kPrescan), "&Prescan");
    EXPECT_EQ(ControlText(dialog, kScan), "&Scan");
    EXPECT_EQ(ControlText(dialog, kCancel), "&Cancel");
    EXPECT_EQ(ControlText(dialog, 1005), "Info");
    EXPECT_EQ(ControlText(dialog, 1006), "&Load");
    EXPECT_EQ(ControlText(dialog, 1007), "&Save");
    EXPECT_EQ(ControlText(dialog, 1008), "Previous");
    EXPECT_EQ(ControlText(dialog, 1009), "&Reset");
    for (int control : {kScan, kPrescan, kCancel}) EXPECT_TRUE(Enabled(dialog, control)) << control;
    SaveScreenshot(dialog, "main_dialog_en");
}

TEST_F(UiTest, GermanButtonTextsComeFromTheGermanBlock) {
    SetProfile("KVSINFO_A3", "LANGUAGE", "Deutsch");
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    for (const Button& button : kButtons) {
        SCOPED_TRACE(button.control);
        EXPECT_FALSE(SourceText(1000 + button.text).empty());
        EXPECT_EQ(ControlText(dialog, button.control), SourceText(1000 + button.text));
    }
    EXPECT_EQ(ControlText(dialog, kCancel), "&" + SourceText(1308));
    EXPECT_NE(ControlText(dialog, kScan), "&Scan");
    EXPECT_EQ(WindowTitle(dialog), "");
    SaveScreenshot(dialog, "main_dialog_de");
}

TEST_F(UiTest, TellarisBrandTitlesTheDialog) {
    SetProfile("KVSINFO_A3", "BRAND", "Tellaris");
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowTitle(dialog), "Tellaris A3 Flatbed Scanner");
}

TEST_F(UiTest, DialogMessagesBelongToTheSource) {
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);

    MSG forDialog{GetDlgItem(dialog, kScan), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    TW_EVENT event{TwainRef(&forDialog), 0x1234};
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_NULL);

    MSG forHost{host.parent, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    event = TW_EVENT{TwainRef(&forHost), 0x1234};
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, 0x1234);
    EXPECT_EQ(SourceState(host), 5);
}

TEST_F(UiTest, CancelAndTheCloseBoxAskTheHostToCloseOnce) {
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    for (UINT message : {UINT(WM_COMMAND), UINT(WM_CLOSE)}) {
        SCOPED_TRACE(message);
        PostMessageA(dialog, message, message == WM_COMMAND ? kCancel : 0, 0);
        EXPECT_EQ(host.WaitForNotification(30000), MSG_CLOSEDSREQ);
        EXPECT_TRUE(NoFurtherNotification(host));
        // Asking changes nothing by itself: the host decides.
        EXPECT_EQ(FindMainDialog(), dialog);
        EXPECT_EQ(SourceState(host), 5);
    }
}

TEST_F(UiTest, NothingIsAskedWhileAScanRuns) {
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    DisableButtons(dialog, {kScan, kPrescan});
    PostMessageA(dialog, WM_COMMAND, kCancel, 0);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(NoFurtherNotification(host));

    // Either scan button on again is enough to ask.
    EnableWindow(GetDlgItem(dialog, kPrescan), TRUE);
    PostMessageA(dialog, WM_COMMAND, kCancel, 0);
    EXPECT_EQ(host.WaitForNotification(30000), MSG_CLOSEDSREQ);
}

TEST_F(UiTest, DisableHidesAndEnableShowsTheSameDialogReady) {
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    DisableButtons(dialog, {kScan, kPrescan, kCancel});

    ASSERT_EQ(host.Disable(), TWRC_SUCCESS);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(FindMainDialog(), nullptr);
    EXPECT_EQ(SourceState(host), 4);

    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    EXPECT_EQ(FindMainDialog(), dialog);
    for (int control : {kScan, kPrescan, kCancel}) EXPECT_TRUE(Enabled(dialog, control)) << control;
    EXPECT_EQ(SourceState(host), 5);
}

TEST_F(UiTest, PrescanStaysOffWithTheFeederInUse) {
    SetScanner("Feeder=1\n");
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    DisableButtons(dialog, {kScan, kPrescan, kCancel});
    ASSERT_EQ(host.Disable(), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    EXPECT_TRUE(Enabled(dialog, kScan));
    EXPECT_TRUE(Enabled(dialog, kCancel));
    EXPECT_FALSE(Enabled(dialog, kPrescan));
}

TEST_F(UiTest, RefusedTransferLeavesTheDialogUsable) {
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    for (TW_UINT16 dat : {DAT_IMAGENATIVEXFER, DAT_IMAGEFILEXFER, DAT_IMAGEMEMXFER}) {
        SCOPED_TRACE(dat);
        DisableButtons(dialog, {kScan, kPrescan, kCancel});
        TW_IMAGEMEMXFER record{};  // large enough for each of the three
        EXPECT_EQ(host.Ds(DG_IMAGE, dat, MSG_GET, &record), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
        for (int control : {kScan, kPrescan, kCancel}) EXPECT_TRUE(Enabled(dialog, control)) << control;
        EXPECT_EQ(SourceState(host), 5);
    }
}

TEST_F(UiTest, CloseDestroysTheDialog) {
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
    EXPECT_FALSE(IsWindow(dialog));

    // The next connection makes a new one.
    ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    EXPECT_NE(FindMainDialog(), nullptr);
}

// Without the interface MSG_ENABLEDS scans at once; when that scan fails the
// host is told at once and asked to close the source. The first scan
// parameters after the open are refused here (cover open).
TEST_F(UiTest, EnableWithoutTheInterfaceShowsNoDialogAndReportsAFailedScan) {
    SetScanner("F1.2=0x8414\n");
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    TW_USERINTERFACE ui{};
    EXPECT_EQ(host.Enable(false, &ui), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
    EXPECT_EQ(ui.ModalUI, 0);
    EXPECT_EQ(FindMainDialog(), nullptr);
    EXPECT_EQ(SourceState(host), 4);
    EXPECT_EQ(host.WaitForNotification(30000), MSG_CLOSEDSREQ);
    EXPECT_TRUE(NoFurtherNotification(host));
}

}  // namespace

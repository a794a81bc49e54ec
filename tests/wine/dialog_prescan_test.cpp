// The dialog's Prescan button: PRESCAN.DLL is called with the dialog's
// settings and the calibration record, the dialog is idle again afterwards,
// and a missing module fails with message 619 and TWCC_OPERATIONERROR.
#include <fstream>
#include <string>

#include "resources/resource_ids.h"
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

class DialogPrescanTest : public SourceTest {
protected:
    // The dialog of an enabled source; the prescan runs inside the message.
    HWND PressPrescan() {
        EXPECT_EQ(Open(host), TWRC_SUCCESS);
        EXPECT_EQ(host.Enable(true), TWRC_SUCCESS);
        HWND dialog = FindMainDialog();
        EXPECT_NE(dialog, nullptr);
        ClearScannerLog();
        SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
        return dialog;
    }

    static bool Enabled(HWND dialog, int control) { return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE; }

    HostSession host;
};

TEST_F(DialogPrescanTest, WritesThePreviewAndReturnsToIdle) {
    HWND dialog = PressPrescan();
    EXPECT_TRUE(recorder.boxes.empty());
    HANDLE file = CreateFileA((InstallDir() + "\\ORVC0000.BMP").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 54u + 1056u * 510u);  // 30 dpi: 351 pixels, 510 rows
    CloseHandle(file);
    // The dialog opened with a calibration due: the module made the full pass.
    EXPECT_EQ(CountRequests(7), 1);
    EXPECT_EQ(CountRequests(2), 1);
    EXPECT_TRUE(Enabled(dialog, IDC_SCAN));
    EXPECT_TRUE(Enabled(dialog, IDC_PRESCAN));
    // Idle: the next command is taken.
    SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
    EXPECT_EQ(CountRequests(5), 2);
}

TEST_F(DialogPrescanTest, AMissingModuleFailsWithOperationErrorAndLeavesNoPicture) {
    ASSERT_TRUE(DeleteFileA((InstallDir() + "\\PRESCAN.DLL").c_str()));
    { std::ofstream stale(InstallDir() + "\\ORVC0000.BMP"); stale << "an older picture"; }
    HWND dialog = PressPrescan();
    EXPECT_EQ(GetFileAttributesA((InstallDir() + "\\ORVC0000.BMP").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Write disk file error.");
    TW_STATUS status{};
    ASSERT_EQ(host.Ds(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_OPERATIONERROR);
    EXPECT_EQ(CountRequests(0), 0);
    EXPECT_TRUE(Enabled(dialog, IDC_SCAN));
    EXPECT_TRUE(Enabled(dialog, IDC_PRESCAN));
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace

// A transfer file on a disk too small for the image: the disk message with
// the free and needed amounts, no scanner request, the host asked to close.
// The test program gets a 1 MB drive T: (see tests/CMakeLists.txt).
#include "tests/wine/ds_fixture.h"
#include "twain/fix32.h"

namespace {

using namespace dstest;

class DiskSpaceTest : public SourceTest {
protected:
    void SetUp() override {
        if (GetDriveTypeA("T:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive T: (mount not allowed)";
        SourceTest::SetUp();
        // The temporary directory, and with it the transfer file, lies on T:.
        SetEnvironmentVariableA("TMP", "T:\\");
        SetEnvironmentVariableA("TEMP", "T:\\");
    }


    HostSession host;
};

TEST_F(DiskSpaceTest, ImageLargerThanTheDiskIsRefusedWithTheDiskMessage) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    TW_SETUPFILEXFER setup{};
    ASSERT_EQ(host.Ds(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT, &setup), TWRC_SUCCESS);
    ASSERT_EQ(std::string(setup.FileName, 3), "T:\\");

    // Colour at 300 dpi over 2 x 2 inches: 1,080,000 bytes and the TIFF header.
    ASSERT_EQ(host.SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB), TWRC_SUCCESS);
    ASSERT_EQ(host.SetFrame(1, 1, 3, 3), TWRC_SUCCESS);
    ClearScannerLog();

    EXPECT_EQ(host.Enable(false), TWRC_FAILURE);
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    const RecordedBox& box = recorder.boxes[0];
    EXPECT_EQ(box.caption, "SCANNER A3 Flatbed Scanner");
    EXPECT_EQ(box.icon, UINT(MB_ICONINFORMATION));
    uint64_t free = 0;
    ULARGE_INTEGER available{}, total{}, totalFree{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("T:\\", &available, &total, &totalFree));
    free = totalFree.QuadPart;
    const std::string freeText = free > 1024 ? std::to_string(free / 1024) + "K" : std::to_string(free);
    EXPECT_EQ(box.text, "The new image requires " + std::to_string((1080000 + 1032 - 1) / 1024) +
                            "K bytes of unused diskspace.Your disk has only " + freeText +
                            " bytes of unused diskspace. Free up some space on the disk.");
    EXPECT_EQ(CountRequests(0), 0);  // refused before any scanner request
}

}  // namespace

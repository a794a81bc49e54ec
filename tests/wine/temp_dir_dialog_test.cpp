// The temporary-directory dialog: the directory typed must name a drive and
// fit 239 characters; anything else is refused with the disk message and the
// transfer file name stays as it was.
#include <string>

#include "session/image_setup.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/settings_fixture.h"
#include "ui/temp_dir_dialog.h"

namespace {

using namespace dstest;

constexpr int kEdit = 7;
constexpr int kOk = 8;

class TempDirDialogTest : public SettingsTest {
protected:
    // Types `directory` and presses OK; whether the dialog took it.
    bool Choose(const std::string& directory) {
        return DriveDialog(kEdit, [&](HWND dialog) {
            Type(dialog, kEdit, directory);
            Click(dialog, kOk);
        }, [] { return RunTempDirDialog(nullptr, 1000) ? 1 : 0; }) == 1;
    }
};

TEST_F(TempDirDialogTest, OnlyADirectoryOnADriveIsTaken) {
    lstrcpynA(g_setup.fileSetupDefault.FileName, "C:\\OLD\\KVS00001.TIF", sizeof g_setup.fileSetupDefault.FileName);
    const std::string tooLong = "C:\\" + std::string(237, 'd');  // 240 characters
    for (const std::string& refused : {std::string("relative\\dir"), std::string("\\\\server\\share"),
                                       std::string("C:"), tooLong}) {
        recorder.boxes.clear();
        EXPECT_FALSE(Choose(refused)) << refused;
        EXPECT_EQ(recorder.boxes.size(), 1u) << refused;
        EXPECT_STREQ(g_setup.fileSetupDefault.FileName, "C:\\OLD\\KVS00001.TIF") << refused;
    }
    EXPECT_TRUE(Choose("C:\\" + std::string(236, 'd')));  // 239 characters
    // The edit takes capitals; one trailing backslash is dropped.
    EXPECT_TRUE(Choose("c:\\new\\"));
    EXPECT_STREQ(g_setup.fileSetupDefault.FileName, "C:\\NEW\\KVS00001.TIF");
}

}  // namespace

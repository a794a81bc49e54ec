// The message boxes of the scanner layer, driven directly: exact captions,
// texts and icons as a user sees them.
#include "device/messages.h"
#include "profile/module_instance.h"

#include "profile/language.h"
#include "session/session.h"
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

class MessagesTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        // Texts come from the installed library's string table.
        g_moduleInstance = LoadLibraryExA((InstallDir() + "\\kvsc_a3.ds").c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(g_moduleInstance, nullptr);
        g_language.index = 0;
    }
    void TearDown() override {
        FreeLibrary(g_moduleInstance);
        SourceTest::TearDown();
    }
    const RecordedBox& OnlyBox() {
        EXPECT_EQ(recorder.boxes.size(), 1u);
        return recorder.boxes.at(0);
    }
};

TEST_F(MessagesTest, DeviceErrorsOtherThanNotReadyShowTheirTextWithStopIcon) {
    ShowDeviceError(nullptr, 625);
    const RecordedBox& box = OnlyBox();
    EXPECT_EQ(box.caption, "SCANNERA3 Flatbed Scanner");
    EXPECT_EQ(box.text, "Incorrect scan area settings.");
    EXPECT_EQ(box.icon, UINT(MB_ICONSTOP));
}

TEST_F(MessagesTest, NotReadyAndNotFoundShowTheChecklist) {
    SetProfile("KVSINFO_A3", "BRAND", "TELLARIS");
    ShowDeviceError(nullptr, 609);
    const RecordedBox& box = OnlyBox();
    EXPECT_EQ(box.caption, "TELLARIS Flatbed Scanner not found.");
    EXPECT_EQ(box.text, kChecklist);
    EXPECT_EQ(box.icon, UINT(MB_ICONINFORMATION));
}

TEST_F(MessagesTest, DiskShortageWritesLargeAmountsInKilobytes) {
    ShowDiskShortage(nullptr, 1024, 2048);
    const RecordedBox& box = OnlyBox();
    EXPECT_EQ(box.caption, "SCANNER A3 Flatbed Scanner");
    EXPECT_EQ(box.text,
              "The new image requires 2K bytes of unused diskspace.Your disk has only 1024 bytes of unused "
              "diskspace. Free up some space on the disk.");
    EXPECT_EQ(box.icon, UINT(MB_ICONINFORMATION));
}

TEST_F(MessagesTest, BufferShortageJoinsItsThreeTexts) {
    ShowBufferShortage(nullptr);
    const RecordedBox& box = OnlyBox();
    EXPECT_EQ(box.caption, "SCANNER A3 Flatbed Scanner");
    EXPECT_EQ(box.text,
              "The Application buffers are not enough for transfering your image width. You should downsize "
              "the image width or resolution.");
    EXPECT_EQ(box.icon, UINT(MB_ICONINFORMATION));
}

TEST_F(MessagesTest, GeneralMessagesUseTheModelText) {
    SetProfile("KVSINFO_A3", "1200", "Office Scanner");
    ShowRemoteLost();
    const RecordedBox& box = OnlyBox();
    EXPECT_EQ(box.caption, "SCANNEROffice Scanner");
    EXPECT_EQ(box.text, "A3 Flatbed Scanner disconnects from Lendaro.\nIt can't share the remote scanner.");
    EXPECT_EQ(box.icon, 0u);
}

TEST_F(MessagesTest, StatusWordsShowTheirDeviceMessages) {
    for (int number : {620, 621, 622, 627, 628, 629}) ShowDeviceError(nullptr, number);
    ASSERT_EQ(recorder.boxes.size(), 6u);
    EXPECT_EQ(recorder.boxes[0].text, " Paper Jammed in Automatic Document Feeder");
    EXPECT_EQ(recorder.boxes[1].text, " No Paper in Automatic Document Feeder");
    EXPECT_EQ(recorder.boxes[2].text, " Slide Scanner Cover not Closed!");
    EXPECT_EQ(recorder.boxes[3].text, "Shading correction fail.");
    EXPECT_EQ(recorder.boxes[4].text, "Transferring is failure.");
    EXPECT_EQ(recorder.boxes[5].text, "Scanner is not operating normally! Please restart the scanner.");
}

TEST_F(MessagesTest, LanguageBlockDecidesTheTexts) {
    g_language.index = 2;
    ShowDeviceError(nullptr, 625);
    EXPECT_EQ(OnlyBox().text, SourceText(2625));
}

}  // namespace

// Image description and transfer set-up triplets through the source manager,
// in state 4 (open) and state 5 (enabled with the dialog).
#include <cctype>
#include <cstring>
#include <string>

#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

TW_FIX32 Fix(int16_t whole, uint16_t frac = 0) { return TW_FIX32{whole, frac}; }

template <typename Record>
bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string TempDirectory() {
    char directory[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, directory);
    return directory;
}

// A name in the temporary directory ending in ".TIF", format TIFF, volume 0.
void ExpectTemporaryTiff(const TW_SETUPFILEXFER& setup) {
    std::string name = setup.FileName;
    std::string directory = TempDirectory();
    ASSERT_GT(name.size(), directory.size() + 4);
    EXPECT_EQ(Upper(name.substr(0, directory.size())), Upper(directory));
    EXPECT_EQ(name.substr(name.size() - 4), ".TIF");
    EXPECT_EQ(setup.Format, TWFF_TIFF);
    EXPECT_EQ(setup.VRefNum, 0);
}

TW_IMAGELAYOUT DefaultLayout() {
    TW_IMAGELAYOUT layout{};
    layout.DocumentNumber = layout.PageNumber = layout.FrameNumber = 1;
    return layout;
}

TW_SETUPFILEXFER FileSetup(const char* name, TW_UINT16 format, TW_INT16 volume = 0) {
    TW_SETUPFILEXFER setup{};
    lstrcpynA(setup.FileName, name, sizeof setup.FileName);
    setup.Format = format;
    setup.VRefNum = volume;
    return setup;
}

class SetupTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
    }

    TW_UINT16 Image(TW_UINT16 dat, TW_UINT16 msg, void* data) { return host.Ds(DG_IMAGE, dat, msg, data); }
    TW_UINT16 Control(TW_UINT16 dat, TW_UINT16 msg, void* data) { return host.Ds(DG_CONTROL, dat, msg, data); }

    void ExpectRefused(TW_UINT16 rc, TW_UINT16 condition) {
        EXPECT_EQ(rc, TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), condition);
    }

    TW_SETUPFILEXFER GetFileSetup(TW_UINT16 msg = MSG_GET) {
        TW_SETUPFILEXFER setup{};
        EXPECT_EQ(Control(DAT_SETUPFILEXFER, msg, &setup), TWRC_SUCCESS);
        return setup;
    }

    TW_IMAGELAYOUT GetLayout(TW_UINT16 msg = MSG_GET) {
        TW_IMAGELAYOUT layout{};
        EXPECT_EQ(Image(DAT_IMAGELAYOUT, msg, &layout), TWRC_SUCCESS);
        return layout;
    }

    // ICAP_IMAGEFILEFORMAT through the capability triplets.
    void SetFileFormat(TW_UINT16 format) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(TW_ONEVALUE));
        auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(block));
        *value = TW_ONEVALUE{TWTY_UINT16, format};
        GlobalUnlock(block);
        auto handle = TwainRef(block);
        TW_CAPABILITY cap{ICAP_IMAGEFILEFORMAT, TWON_ONEVALUE, handle};
        EXPECT_EQ(Control(DAT_CAPABILITY, MSG_SET, &cap), TWRC_SUCCESS);
        GlobalFree(block);
    }

    TW_UINT32 FileFormat() {
        TW_CAPABILITY cap{ICAP_IMAGEFILEFORMAT, 0, 0};
        EXPECT_EQ(Control(DAT_CAPABILITY, MSG_GETCURRENT, &cap), TWRC_SUCCESS);
        HGLOBAL block = TwainPointer<HGLOBAL>(cap.hContainer);
        TW_ONEVALUE value{0, 0xFFFF};
        if (auto* locked = static_cast<TW_ONEVALUE*>(GlobalLock(block))) {
            value = *locked;
            GlobalUnlock(block);
        }
        GlobalFree(block);
        return value.Item;
    }

    HostSession host;
};

TEST_F(SetupTest, PendingTransfersReportOneAndCannotEndBeforeATransfer) {
    TW_PENDINGXFERS pending{0xFFFF, 0xDEADBEEF};
    EXPECT_EQ(Control(DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 1);
    EXPECT_EQ(pending.Reserved, 0xDEADBEEFu) << "MSG_GET writes only the count";

    for (int state : {4, 5}) {
        SCOPED_TRACE(testing::Message() << "state " << state);
        if (state == 5) {
            ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        }
        pending = TW_PENDINGXFERS{7, 7};
        ExpectRefused(Control(DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWCC_SEQERROR);
        ExpectRefused(Control(DAT_PENDINGXFERS, MSG_RESET, &pending), TWCC_SEQERROR);
        EXPECT_EQ(pending.Count, 7) << "a refused call writes nothing";
        ExpectRefused(Control(DAT_PENDINGXFERS, MSG_SET, &pending), TWCC_BADPROTOCOL);
        EXPECT_EQ(Control(DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
        EXPECT_EQ(pending.Count, 1);
    }
}

TEST_F(SetupTest, FileSetupStartsWithATemporaryTiffName) {
    TW_SETUPFILEXFER current = GetFileSetup();
    ExpectTemporaryTiff(current);
    EXPECT_TRUE(SameBytes(GetFileSetup(MSG_GETDEFAULT), current));
}

TEST_F(SetupTest, FileSetupTakesOnlyTiffWithATerminatedName) {
    TW_SETUPFILEXFER initial = GetFileSetup();
    TW_SETUPFILEXFER bmp = FileSetup("C:\\scan.bmp", TWFF_BMP);
    ExpectRefused(Control(DAT_SETUPFILEXFER, MSG_SET, &bmp), TWCC_BADVALUE);
    TW_SETUPFILEXFER unterminated = FileSetup("", TWFF_TIFF);
    std::memset(unterminated.FileName, 'A', sizeof unterminated.FileName);
    ExpectRefused(Control(DAT_SETUPFILEXFER, MSG_SET, &unterminated), TWCC_BADVALUE);
    EXPECT_TRUE(SameBytes(GetFileSetup(), initial));

    TW_SETUPFILEXFER tiff = FileSetup("C:\\no such dir\\out.tif", TWFF_TIFF, 3);
    EXPECT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &tiff), TWRC_SUCCESS);
    EXPECT_TRUE(SameBytes(GetFileSetup(), tiff));
    EXPECT_TRUE(SameBytes(GetFileSetup(MSG_GETDEFAULT), initial));
}

TEST_F(SetupTest, FileSetupPutsTheFileFormatBackToTiff) {
    SetFileFormat(TWFF_BMP);
    ASSERT_EQ(FileFormat(), TWFF_BMP);
    TW_SETUPFILEXFER bmp = FileSetup("C:\\scan.bmp", TWFF_BMP);
    EXPECT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &bmp), TWRC_FAILURE);
    EXPECT_EQ(FileFormat(), TWFF_BMP) << "a refused set-up leaves the format";
    TW_SETUPFILEXFER tiff = FileSetup("C:\\scan.tif", TWFF_TIFF);
    EXPECT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &tiff), TWRC_SUCCESS);
    EXPECT_EQ(FileFormat(), TWFF_TIFF);
}

TEST_F(SetupTest, FileSetupCanBeSetInState5ButResetOnlyInState4) {
    TW_SETUPFILEXFER initial = GetFileSetup();
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    TW_SETUPFILEXFER tiff = FileSetup("C:\\scan.tif", TWFF_TIFF);
    EXPECT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &tiff), TWRC_SUCCESS);
    TW_SETUPFILEXFER record = tiff;
    ExpectRefused(Control(DAT_SETUPFILEXFER, MSG_RESET, &record), TWCC_SEQERROR);
    EXPECT_TRUE(SameBytes(record, tiff)) << "a refused reset writes nothing";
    EXPECT_TRUE(SameBytes(GetFileSetup(), tiff));
    ASSERT_EQ(host.Disable(), TWRC_SUCCESS);

    record = TW_SETUPFILEXFER{};
    EXPECT_EQ(Control(DAT_SETUPFILEXFER, MSG_RESET, &record), TWRC_SUCCESS);
    EXPECT_TRUE(SameBytes(record, initial));
    EXPECT_TRUE(SameBytes(GetFileSetup(), initial));
}

TEST_F(SetupTest, MemorySetupAndTransferGroupInStates4And5) {
    for (int state : {4, 5}) {
        SCOPED_TRACE(testing::Message() << "state " << state);
        if (state == 5) {
            ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        }
        TW_SETUPMEMXFER memory{};
        EXPECT_EQ(Control(DAT_SETUPMEMXFER, MSG_GET, &memory), TWRC_SUCCESS);
        EXPECT_EQ(memory.MinBufSize, 65536u);
        EXPECT_EQ(memory.MaxBufSize, 65536u);
        EXPECT_EQ(memory.Preferred, 65536u);
        TW_UINT32 group = 0;
        EXPECT_EQ(Control(DAT_XFERGROUP, MSG_GET, &group), TWRC_SUCCESS);
        EXPECT_EQ(group, DG_IMAGE);
    }
}

TEST_F(SetupTest, LayoutIsStoredAsTheHostSentIt) {
    EXPECT_TRUE(SameBytes(GetLayout(), DefaultLayout()));
    EXPECT_TRUE(SameBytes(GetLayout(MSG_GETDEFAULT), DefaultLayout()));

    // Right left of Left, fractions and odd numbers: stored unchanged.
    TW_IMAGELAYOUT inverted{{Fix(5, 0x1234), Fix(-2, 0xFFFF), Fix(1, 3), Fix(32767, 1)}, 9, 0, 0xFFFFFFFF};
    TW_IMAGELAYOUT sent = inverted;
    EXPECT_EQ(Image(DAT_IMAGELAYOUT, MSG_SET, &sent), TWRC_SUCCESS);
    EXPECT_TRUE(SameBytes(sent, inverted));
    EXPECT_TRUE(SameBytes(GetLayout(), inverted));
    EXPECT_TRUE(SameBytes(GetLayout(MSG_GETDEFAULT), DefaultLayout()));

    TW_IMAGELAYOUT reset{};
    EXPECT_EQ(Image(DAT_IMAGELAYOUT, MSG_RESET, &reset), TWRC_SUCCESS);
    EXPECT_TRUE(SameBytes(reset, DefaultLayout()));
    EXPECT_TRUE(SameBytes(GetLayout(), DefaultLayout()));
}

TEST_F(SetupTest, LayoutCanBeReadButNotChangedInState5) {
    TW_IMAGELAYOUT frame{{Fix(1), Fix(1), Fix(4, 0x8000), Fix(6)}, 1, 1, 1};
    TW_IMAGELAYOUT sent = frame;
    ASSERT_EQ(Image(DAT_IMAGELAYOUT, MSG_SET, &sent), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);

    TW_IMAGELAYOUT other{{Fix(0), Fix(0), Fix(2), Fix(2)}, 1, 1, 1};
    ExpectRefused(Image(DAT_IMAGELAYOUT, MSG_SET, &other), TWCC_SEQERROR);
    ExpectRefused(Image(DAT_IMAGELAYOUT, MSG_RESET, &other), TWCC_SEQERROR);
    EXPECT_TRUE(SameBytes(GetLayout(), frame));
    EXPECT_TRUE(SameBytes(GetLayout(MSG_GETDEFAULT), DefaultLayout()));
}

TEST_F(SetupTest, ImageInfoOnlyOnceThereIsAnImage) {
    TW_IMAGEINFO info{};
    ExpectRefused(Image(DAT_IMAGEINFO, MSG_GET, &info), TWCC_SEQERROR);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    ExpectRefused(Image(DAT_IMAGEINFO, MSG_GET, &info), TWCC_SEQERROR);
}

TEST_F(SetupTest, MessagesOutsideEachTripletAreBadProtocol) {
    TW_IMAGELAYOUT layout{};
    ExpectRefused(Image(DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout), TWCC_BADPROTOCOL);
    TW_SETUPFILEXFER setup{};
    ExpectRefused(Control(DAT_SETUPFILEXFER, MSG_GETCURRENT, &setup), TWCC_BADPROTOCOL);
    TW_SETUPMEMXFER memory{};
    ExpectRefused(Control(DAT_SETUPMEMXFER, MSG_SET, &memory), TWCC_BADPROTOCOL);
    TW_UINT32 group = DG_CONTROL;
    ExpectRefused(Control(DAT_XFERGROUP, MSG_SET, &group), TWCC_BADPROTOCOL);
    TW_IMAGEINFO info{};
    ExpectRefused(Image(DAT_IMAGEINFO, MSG_GETDEFAULT, &info), TWCC_BADPROTOCOL);
}

TEST_F(SetupTest, NullRecordsAreRefused) {
    ExpectRefused(Image(DAT_IMAGELAYOUT, MSG_GET, nullptr), TWCC_BADVALUE);
    ExpectRefused(Control(DAT_SETUPFILEXFER, MSG_SET, nullptr), TWCC_BADVALUE);
    ExpectRefused(Control(DAT_SETUPMEMXFER, MSG_GET, nullptr), TWCC_BADVALUE);
    ExpectRefused(Control(DAT_PENDINGXFERS, MSG_GET, nullptr), TWCC_BADVALUE);
}

TEST_F(SetupTest, ReopenResetsLayoutAndFileSetup) {
    TW_IMAGELAYOUT frame{{Fix(1), Fix(1), Fix(4), Fix(6)}, 2, 2, 2};
    ASSERT_EQ(Image(DAT_IMAGELAYOUT, MSG_SET, &frame), TWRC_SUCCESS);
    TW_SETUPFILEXFER tiff = FileSetup("C:\\scan.tif", TWFF_TIFF);
    ASSERT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &tiff), TWRC_SUCCESS);
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);

    ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    EXPECT_TRUE(SameBytes(GetLayout(), DefaultLayout()));
    TW_SETUPFILEXFER current = GetFileSetup();
    ExpectTemporaryTiff(current);
    EXPECT_TRUE(SameBytes(GetFileSetup(MSG_GETDEFAULT), current));
}

}  // namespace

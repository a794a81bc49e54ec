// Image transfers through the source manager. The unattended scan of a frame
// is taken by native, memory and file transfer in line art, grey and colour,
// and every pixel is compared with what the simulated scanner delivers for
// that frame.
#include <string>
#include <vector>

#include "engine/file_writer.h"
#include "engine/read_machinery.h"
#include "resources/resource_ids.h"
#include "tests/wine/acquire_fixture.h"

namespace {

using namespace dstest;

constexpr uint32_t kOpticalRate = 1200;  // the simulated scanner's default resolution code

// A frame in inches at a resolution, in a pixel type.
struct Scan {
    TW_UINT16 pixelType;
    uint16_t dpi;
    float left, top, right, bottom;
};

uint16_t ScanModeOf(TW_UINT16 pixelType) {
    return pixelType == TWPT_RGB ? kModeColour : pixelType == TWPT_GRAY ? kModeGray : kModeLineArt;
}

// The tone tables the unattended scan sends: the maps built at MSG_ENABLEDS,
// which its forced tone values leave as they are.
sim::ToneTables UnattendedToneTables(TW_UINT16 pixelType) {
    tone::ScanToneTables tables;
    tone::ResetScanToneTables(tables);
    if (pixelType == TWPT_RGB) {
        for (int channel : {tone::kRed, tone::kGreen, tone::kBlue})
            tone::BuildBrightnessContrastMap(tone::MakeTriple(0, 0, 18), tone::kTableSize, tone::kTableSize,
                                             tables.user[channel]);
    } else {
        tone::BuildBrightnessContrastMap(tone::MakeTriple(0, 0, 10), tone::kTableSize, tone::kTableSize,
                                         tables.user[tone::kMaster]);
    }
    ToneSettings forced = DefaultToneSettings();
    for (ToneChannel& channel : forced.channels) channel.highlight = channel.shadow = 0;
    forced.circlePos = {216, 177};
    return SentToneTables(forced, ScanModeOf(pixelType), false, true, tables);
}

// What the simulated scanner delivers for `scan`.
Image ExpectedImage(const std::string& scannerKeys, const Scan& scan) {
    const uint16_t mode = ScanModeOf(scan.pixelType);
    const uint8_t type = mode == kModeColour ? sim::kColour : mode == kModeGray ? sim::kGreyColourShaded : sim::kLineArt;
    auto units = [](float inches) { return static_cast<uint16_t>(inches * kOpticalRate); };
    return ScannerImage(scannerKeys, {type, scan.dpi, units(scan.left), units(scan.top), units(scan.right),
                                      units(scan.bottom), UnattendedToneTables(scan.pixelType)});
}

class TransferTest : public AcquireTest {
protected:
    void SetUp() override {
        AcquireTest::SetUp();
        Connect("");
    }

    // Negotiates `scan` for `mechanism` in state 4 and enables without the
    // user interface; true when the image is ready (state 6).
    bool Ready(const Scan& scan, TW_UINT16 mechanism) {
        return ReadyUnattended(scan.pixelType, scan.dpi, mechanism, scan.left, scan.top, scan.right, scan.bottom);
    }
};

const Scan kLineArt{TWPT_BW, 100, 1, 1, 5, 3};
const Scan kGrey{TWPT_GRAY, 100, 1, 1, 5, 3};
const Scan kColour{TWPT_RGB, 100, 1, 1, 5, 4};
// Colour of two chunks (2 MB buffer), and of three.
const Scan kTwoChunks{TWPT_RGB, 300, 1, 1, 5, 3.5f};
const Scan kThreeChunks{TWPT_RGB, 300, 1, 1, 5, 5};

// --- Native transfer ------------------------------------------------------

TEST_F(TransferTest, NativeBitmapInEveryModeIsBottomUpWithItsPalette) {
    for (const Scan& scan : {kLineArt, kGrey, kColour}) {
        SCOPED_TRACE(scan.pixelType);
        const Image expected = ExpectedImage(keys, scan);
        ASSERT_TRUE(Ready(scan, TWSX_NATIVE));
        TW_HANDLE handle = 0;
        ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
        Dib dib = TakeDib(handle);
        const uint32_t width = scan.pixelType == TWPT_BW ? expected.lineBytes * 8 : expected.pixels;
        EXPECT_EQ(dib.width, static_cast<int32_t>(width));
        EXPECT_EQ(dib.height, static_cast<int32_t>(expected.lines));
        switch (scan.pixelType) {
            case TWPT_BW:
                EXPECT_EQ(dib.bitCount, 1);
                EXPECT_EQ(dib.palette, (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
                break;
            case TWPT_GRAY:
                EXPECT_EQ(dib.bitCount, 8);
                ASSERT_EQ(dib.clrUsed, 256u);
                for (int i = 0; i < 256; ++i)
                    EXPECT_EQ(std::vector<uint8_t>(dib.palette.begin() + 4 * i, dib.palette.begin() + 4 * i + 4),
                              (std::vector<uint8_t>{uint8_t(i), uint8_t(i), uint8_t(i), 0}));
                break;
            default:
                EXPECT_EQ(dib.bitCount, 24);
                EXPECT_EQ(dib.clrUsed, 0u);
        }
        ASSERT_EQ(dib.rows.size(), size_t{PaddedRow(expected.lineBytes)} * expected.lines);
        EXPECT_TRUE(SamePixels(expected, FromBitmapRows(dib.rows.data(), expected.lines, expected.lineBytes,
                                                        scan.pixelType == TWPT_RGB)));
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    }
    EXPECT_TRUE(TakeMessages().empty());
}

// --- Memory transfer ------------------------------------------------------

TEST_F(TransferTest, MemoryBlocksInEveryModeCarryTheScannerRowsWithTheirOffsets) {
    for (const Scan& scan : {kLineArt, kGrey, kTwoChunks}) {
        SCOPED_TRACE(scan.pixelType);
        const Image expected = ExpectedImage(keys, scan);
        ASSERT_TRUE(Ready(scan, TWSX_MEMORY));
        ClearScannerLog();
        MemoryBlocks taken = TakeMemoryBlocks();
        ASSERT_FALSE(taken.records.empty());
        EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
        const uint32_t fit = 65536 / expected.lineBytes - (scan.pixelType == TWPT_BW ? 2 : 0);
        uint32_t next = 0;
        for (size_t i = 0; i < taken.records.size(); ++i) {
            const TW_IMAGEMEMXFER& r = taken.records[i];
            EXPECT_EQ(r.Compression, TWCP_NONE);
            EXPECT_EQ(r.BytesPerRow, expected.lineBytes);
            EXPECT_EQ(r.Columns, scan.pixelType == TWPT_BW ? expected.lineBytes * 8 : expected.pixels);
            EXPECT_EQ(r.XOffset, 0u);
            EXPECT_EQ(r.YOffset, next) << "block " << i;
            EXPECT_LE(r.Rows, fit);
            EXPECT_EQ(r.BytesWritten, r.Rows * r.BytesPerRow);
            EXPECT_EQ(taken.codes[i], i + 1 < taken.records.size() ? TWRC_SUCCESS : TWRC_XFERDONE);
            next += r.Rows;
        }
        EXPECT_EQ(next, expected.lines);
        EXPECT_TRUE(SamePixels(expected, taken.rows));
        if (scan.dpi == 300) {
            EXPECT_EQ(CountRequests(blocks::kReadImageData), 2);
        }

        // Nothing is left to transfer.
        std::vector<uint8_t> buffer(65536);
        TW_IMAGEMEMXFER record{};
        EXPECT_EQ(MemoryBlock(buffer.data(), 65536, record), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    }
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(TransferTest, MemoryBlocksIntoAHandleBufferAcrossFiveSegments) {
    // Five descriptors: block boundaries fall inside segments and rows are
    // found across segment boundaries.
    Connect("Segments=5\n");
    const Image expected = ExpectedImage(keys, kTwoChunks);
    ASSERT_TRUE(Ready(kTwoChunks, TWSX_MEMORY));
    constexpr uint32_t kLength = 50000;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, kLength);
    std::vector<uint8_t> rows;
    TW_UINT16 rc;
    do {
        TW_IMAGEMEMXFER record{};
        record.Memory.Flags = TWMF_APPOWNS | TWMF_HANDLE;
        record.Memory.Length = kLength;
        record.Memory.TheMem = TwainRef(handle);
        rc = host.Ds(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &record);
        ASSERT_TRUE(rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) << rc;
        EXPECT_EQ(record.YOffset, rows.size() / expected.lineBytes);
        const auto* bytes = static_cast<const uint8_t*>(GlobalLock(handle));
        rows.insert(rows.end(), bytes, bytes + record.BytesWritten);
        GlobalUnlock(handle);
    } while (rc == TWRC_SUCCESS);
    GlobalFree(handle);
    EXPECT_TRUE(SamePixels(expected, rows));
}

// --- File transfer --------------------------------------------------------

TEST_F(TransferTest, TiffFileInEveryModeHoldsTheRowsInScanOrder) {
    const std::string path = TempPath("scan.tif");
    for (const Scan& scan : {kLineArt, kGrey, kTwoChunks}) {
        SCOPED_TRACE(scan.pixelType);
        const Image expected = ExpectedImage(keys, scan);
        ChooseFile(path, TWFF_TIFF);
        ASSERT_TRUE(Ready(scan, TWSX_FILE));
        ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
        const std::vector<uint8_t> file = ReadWholeFile(path);
        const size_t first = scan.pixelType == TWPT_RGB ? 146 : 140;
        ASSERT_EQ(file.size(), first + expected.bytes.size());
        const uint32_t width = scan.pixelType == TWPT_BW ? expected.lineBytes * 8 : expected.pixels;
        EXPECT_EQ(blocks::GetU32(file.data(), 18), width);           // ImageWidth
        EXPECT_EQ(blocks::GetU32(file.data(), 30), expected.lines);  // ImageLength
        EXPECT_TRUE(SamePixels(expected, std::vector<uint8_t>(file.begin() + first, file.end())));
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    }
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(TransferTest, BmpFileInEveryModeIsFilledFromTheEnd) {
    const std::string path = TempPath("scan.bmp");
    for (const Scan& scan : {kLineArt, kGrey, kTwoChunks}) {
        SCOPED_TRACE(scan.pixelType);
        const Image expected = ExpectedImage(keys, scan);
        ChooseFile(path, TWFF_BMP);
        ASSERT_TRUE(Ready(scan, TWSX_FILE));
        ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
        const std::vector<uint8_t> file = ReadWholeFile(path);
        ASSERT_GT(file.size(), 54u);
        const uint32_t offBits = blocks::GetU32(file.data(), 10);
        EXPECT_EQ(offBits, scan.pixelType == TWPT_RGB ? 54u : scan.pixelType == TWPT_GRAY ? 1078u : 62u);
        ASSERT_EQ(file.size(), offBits + size_t{PaddedRow(expected.lineBytes)} * expected.lines);
        EXPECT_EQ(blocks::GetU32(file.data(), 2), file.size());  // bfSize
        EXPECT_TRUE(SamePixels(expected, FromBitmapRows(file.data() + offBits, expected.lines, expected.lineBytes,
                                                        scan.pixelType == TWPT_RGB)));
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    }
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(TransferTest, FileFormatsWithoutAWriterAndMissingDirectoriesFailWithTheWriteMessage) {
    const std::string missing = TempPath("no such directory\\scan.tif");
    struct Case {
        std::string path;
        TW_UINT16 format;
    } cases[] = {{TempPath("scan.pct"), TWFF_PICT}, {TempPath("scan.xbm"), TWFF_XBM}, {missing, TWFF_TIFF}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ChooseFile(c.path, c.format);
        ASSERT_TRUE(Ready(kGrey, TWSX_FILE));
        ClearScannerLog();
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Write disk file error."});
        EXPECT_FALSE(FileExists(c.path));
        EXPECT_EQ(CountRequests(blocks::kReadImageData), 0);
        EXPECT_EQ(CountRequests(blocks::kStopScan), 1);
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        EXPECT_EQ(SourceState(host), 7);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    }
    // A good name afterwards gets the image.
    const std::string good = TempPath("after.tif");
    ChooseFile(good, TWFF_TIFF);
    ASSERT_TRUE(Ready(kGrey, TWSX_FILE));
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    EXPECT_TRUE(FileExists(good));
}

// --- Faults ---------------------------------------------------------------

TEST_F(TransferTest, NoPaperStatusOnAReadIsReadOnceMore) {
    Connect("F8.1=0x8321\n");
    const Image expected = ExpectedImage(keys, kTwoChunks);
    ASSERT_TRUE(Ready(kTwoChunks, TWSX_MEMORY));
    ClearScannerLog();
    MemoryBlocks taken = TakeMemoryBlocks();
    EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
    EXPECT_TRUE(SamePixels(expected, taken.rows));
    EXPECT_EQ(CountRequests(blocks::kReadImageData), 3);  // two chunks, the first read twice
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(TransferTest, PaperJamOnTheThirdReadFailsOnceAndTheNextScanWorks) {
    for (TW_UINT16 mechanism : {TWSX_MEMORY, TWSX_NATIVE, TWSX_FILE}) {
        SCOPED_TRACE(mechanism);
        Connect("F8.3=0x8217\n");
        ChooseFile(TempPath("jam.tif"), TWFF_TIFF);
        ASSERT_TRUE(Ready(kThreeChunks, mechanism));
        ClearScannerLog();
        TW_UINT16 rc;
        if (mechanism == TWSX_MEMORY) {
            rc = TakeMemoryBlocks().codes.back();
        } else if (mechanism == TWSX_NATIVE) {
            TW_HANDLE handle = 0xDEADBEEF;
            rc = host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
            EXPECT_EQ(handle, 0u);
        } else {
            rc = host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr);
            EXPECT_FALSE(FileExists(TempPath("jam.tif")));
        }
        EXPECT_EQ(rc, TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_OPERATIONERROR);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{" Paper Jammed in Automatic Document Feeder"});
        EXPECT_EQ(CountRequests(blocks::kReadImageData), 3);
        EXPECT_GE(CountRequests(blocks::kStopScan), 1);
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        EXPECT_EQ(SourceState(host), 7);

        // The host ends the transfer; the next scan starts afresh.
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        const Image expected = ExpectedImage(keys, kGrey);
        ASSERT_TRUE(Ready(kGrey, TWSX_MEMORY));
        MemoryBlocks again = TakeMemoryBlocks();
        EXPECT_EQ(again.codes.back(), TWRC_XFERDONE);
        EXPECT_TRUE(SamePixels(expected, again.rows));
        EXPECT_EQ(again.records.front().YOffset, 0u);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    }
}

TEST_F(TransferTest, EscapeDuringTheReadsCancelsAndTheNextImageStartsAfresh) {
    // Memory: the first block asked for once the pump is due again cancels,
    // also inside a chunk.
    ASSERT_TRUE(Ready(kTwoChunks, TWSX_MEMORY));
    std::vector<uint8_t> buffer(65536);
    TW_IMAGEMEMXFER record{};
    ASSERT_EQ(MemoryBlock(buffer.data(), 65536, record), TWRC_SUCCESS);
    ClearScannerLog();
    PostMessageA(host.parent, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(2 * kPumpIntervalMs);
    EXPECT_EQ(MemoryBlock(buffer.data(), 65536, record), TWRC_CANCEL);
    EXPECT_EQ(CountRequests(blocks::kStopScan), 1);
    EXPECT_EQ(SourceState(host), 7);
    EXPECT_EQ(MemoryBlock(buffer.data(), 65536, record), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);

    // Native and file: a cancelled image gives the host nothing.
    ASSERT_TRUE(Ready(kGrey, TWSX_NATIVE));
    PostMessageA(host.parent, WM_KEYDOWN, VK_ESCAPE, 0);
    TW_HANDLE handle = 0xDEADBEEF;
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_CANCEL);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    const std::string path = TempPath("cancelled.bmp");
    ChooseFile(path, TWFF_BMP);
    ASSERT_TRUE(Ready(kGrey, TWSX_FILE));
    PostMessageA(host.parent, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_CANCEL);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);

    const Image expected = ExpectedImage(keys, kColour);
    ASSERT_TRUE(Ready(kColour, TWSX_MEMORY));
    MemoryBlocks taken = TakeMemoryBlocks();
    EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
    EXPECT_TRUE(SamePixels(expected, taken.rows));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(TransferTest, CallsFromTheHostsWindowDuringATransferChangeNothing) {
    // The host's window procedure runs inside the source's pump before the
    // first read: it tries to end the image and the session, asks the
    // status, and quits its loop.
    const Image expected = ExpectedImage(keys, kTwoChunks);
    ASSERT_TRUE(Ready(kTwoChunks, TWSX_MEMORY));
    std::vector<TW_UINT16> nested;
    TW_STATUS status{};
    host.Defer([&] {
        TW_PENDINGXFERS pending{};
        nested.push_back(host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending));
        TW_USERINTERFACE ui{};
        nested.push_back(host.Ds(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui));
        nested.push_back(host.Ds(DG_CONTROL, DAT_STATUS, MSG_GET, &status));
        PostQuitMessage(3);
    });
    const MemoryBlocks taken = TakeMemoryBlocks();
    EXPECT_EQ(nested, (std::vector<TW_UINT16>{TWRC_FAILURE, TWRC_FAILURE, TWRC_SUCCESS}));
    EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR);
    EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
    EXPECT_TRUE(SamePixels(expected, taken.rows));
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_EQ(SourceState(host), 7);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
}

TEST_F(TransferTest, HostBufferSmallerThanOneRowIsLowMemory) {
    struct Case {
        Scan scan;
        uint32_t length;  // of the host buffer
    } cases[] = {{kColour, 1199},   // one colour row is 1200 bytes
                 {kLineArt, 96}};  // two line-art rows of 48 bytes: less the two spare rows, none
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scan.pixelType);
        ASSERT_TRUE(Ready(c.scan, TWSX_MEMORY));
        ClearScannerLog();
        std::vector<uint8_t> buffer(c.length);
        TW_IMAGEMEMXFER record{};
        EXPECT_EQ(MemoryBlock(buffer.data(), c.length, record), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_LOWMEMORY);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{" Insufficient Memory."});
        EXPECT_EQ(CountRequests(blocks::kReadImageData), 0);
        EXPECT_EQ(CountRequests(blocks::kStopScan), 1);
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    }
}

TEST_F(TransferTest, TheBodyTheHostCallsDeliversWhateverMechanismItNegotiated) {
    // Prepared for memory, taken as a bitmap; prepared as a bitmap, taken as a file.
    const Image expected = ExpectedImage(keys, kGrey);
    ASSERT_TRUE(Ready(kGrey, TWSX_MEMORY));
    TW_HANDLE handle = 0;
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
    const Dib dib = TakeDib(handle);
    EXPECT_EQ(dib.bitCount, 8);
    EXPECT_TRUE(SamePixels(expected, FromBitmapRows(dib.rows.data(), expected.lines, expected.lineBytes, false)));
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);

    const std::string path = TempPath("called.bmp");
    ChooseFile(path, TWFF_BMP);
    ASSERT_TRUE(Ready(kGrey, TWSX_NATIVE));
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    DeleteFileA(path.c_str());
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(host.WaitForNotification(500), MSG_NULL);
}

TEST_F(TransferTest, AbandonedImagesStopTheScannerAndTheNextStartsClean) {
    std::vector<uint8_t> buffer(65536);
    TW_IMAGEMEMXFER record{};
    // MSG_RESET before any transfer, MSG_ENDXFER after one block, MSG_DISABLEDS
    // after one block: each stops the scanner.
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        ASSERT_TRUE(Ready(kTwoChunks, TWSX_MEMORY));
        if (way > 0) {
            ASSERT_EQ(MemoryBlock(buffer.data(), 65536, record), TWRC_SUCCESS);
        }
        ClearScannerLog();
        const TW_UINT16 rc = way == 0 ? EndTransfer(MSG_RESET) : way == 1 ? EndTransfer(MSG_ENDXFER) : host.Disable();
        EXPECT_EQ(rc, TWRC_SUCCESS);
        EXPECT_EQ(CountRequests(blocks::kStopScan), 1);
    }
    const Image expected = ExpectedImage(keys, kGrey);
    ASSERT_TRUE(Ready(kGrey, TWSX_MEMORY));
    MemoryBlocks taken = TakeMemoryBlocks();
    EXPECT_EQ(taken.records.front().YOffset, 0u);
    EXPECT_TRUE(SamePixels(expected, taken.rows));
    EXPECT_TRUE(TakeMessages().empty());
}

// --- Feeder batches ---------------------------------------------------------

class FeederBatchTest : public TransferTest {
protected:
    // A scanner with a feeder (and `faults`), automatic feed, `pages` asked for.
    void StartBatch(const std::string& faults, TW_INT16 pages) {
        Connect("Feeder=1\n" + faults);
        ASSERT_EQ(host.SetOneValue(CAP_AUTOFEED, TWTY_UINT16, 1), TWRC_SUCCESS);
        ASSERT_EQ(host.SetOneValue(CAP_XFERCOUNT, TWTY_INT16, static_cast<TW_UINT16>(pages)), TWRC_SUCCESS);
        ASSERT_TRUE(Ready(kGrey, TWSX_MEMORY));
    }

    // Takes the page ready now and ends it; the Count MSG_ENDXFER answers.
    TW_UINT16 TakePageAndEnd() {
        EXPECT_EQ(TakeMemoryBlocks().codes.back(), TWRC_XFERDONE);
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
        return pending.Count;
    }
};

TEST_F(FeederBatchTest, ThreePagesAskedForAreFedOneAfterAnother) {
    StartBatch("", 3);
    for (TW_UINT16 left : {2, 1}) {
        EXPECT_EQ(TakePageAndEnd(), left);
        EXPECT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
        EXPECT_EQ(SourceState(host), 6);
    }
    EXPECT_EQ(TakePageAndEnd(), 0);
    EXPECT_EQ(SourceState(host), 5);
    EXPECT_EQ(host.WaitForNotification(500), MSG_NULL);
    EXPECT_EQ(CountRequests(blocks::kStartScan), 3);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(FeederBatchTest, AnEmptyFeederAfterTwoPagesEndsTheBatchQuietly) {
    StartBatch("F1.4=0x8321\n", -1);
    EXPECT_EQ(TakePageAndEnd(), 0xFFFF);
    EXPECT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
    EXPECT_EQ(TakePageAndEnd(), 0);
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);
    EXPECT_EQ(SourceState(host), 5);
    EXPECT_EQ(host.WaitForNotification(500), MSG_NULL);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(FeederBatchTest, EscapeEndsTheBatch) {
    StartBatch("", -1);
    std::vector<uint8_t> buffer(65536);
    TW_IMAGEMEMXFER record{};
    PostMessageA(host.parent, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(MemoryBlock(buffer.data(), 65536, record), TWRC_CANCEL);
    TW_PENDINGXFERS pending{};
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_EQ(SourceState(host), 5);
    EXPECT_EQ(host.WaitForNotification(500), MSG_NULL);
    EXPECT_EQ(CountRequests(blocks::kStartScan), 1);
}

// --- Negotiated values and the dialog ---------------------------------------

TEST_F(TransferTest, FeederSwitchedOffScansTheFlatbed) {
    Connect("Feeder=1\n");
    ASSERT_EQ(host.SetOneValue(CAP_FEEDERENABLED, TWTY_UINT16, 0), TWRC_SUCCESS);
    const Image expected = ExpectedImage(keys, kGrey);
    ASSERT_TRUE(Ready(kGrey, TWSX_MEMORY));
    const MemoryBlocks taken = TakeMemoryBlocks();
    EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
    EXPECT_TRUE(SamePixels(expected, taken.rows));  // as laid on the bed, not mirrored as fed pages are
}

TEST_F(TransferTest, AnUnattendedScanLeavesTheDialogsSettingsAlone) {
    SetProfile("A3 SCANNER", "ScanMode", "1013");
    SetProfile("A3 SCANNER", "ScanRes", "100");
    SetProfile("A3 SCANNER", "Frame", "30  30  90  60  ");
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);  // the dialog reads its settings
    ASSERT_EQ(host.Disable(), TWRC_SUCCESS);
    ASSERT_TRUE(Ready(Scan{TWPT_RGB, 200, 1, 1, 3, 2}, TWSX_MEMORY));
    EXPECT_EQ(TakeMemoryBlocks().codes.back(), TWRC_XFERDONE);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    ASSERT_EQ(host.Disable(), TWRC_SUCCESS);

    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    HWND dialog = FindMainDialog();
    ASSERT_NE(dialog, nullptr);
    SendMessageW(dialog, WM_COMMAND, IDC_SCAN, 0);
    ASSERT_EQ(host.WaitForNotification(5000), MSG_XFERREADY);
    const TW_IMAGEINFO info = ImageInfo();
    EXPECT_EQ(info.PixelType, TWPT_GRAY);
    EXPECT_EQ(info.ImageLength, 100);
    EXPECT_EQ(TakeMemoryBlocks().codes.back(), TWRC_XFERDONE);
    char mode[8] = {}, resolution[8] = {};
    GetProfileStringA("A3 SCANNER", "ScanMode", "", mode, sizeof mode);
    GetProfileStringA("A3 SCANNER", "ScanRes", "", resolution, sizeof resolution);
    EXPECT_STREQ(mode, "1013");
    EXPECT_STREQ(resolution, "100");
}

// --- File writer, in this process ----------------------------------------

TEST(FileWriter, HeaderThatCannotBeWrittenLeavesNoFile) {
    const std::string path = TempPath("refused.tif");
    // Scan mode 1015 has no layout: the file is created, its header fails.
    const fileheaders::ImageGeometry image{1015, 0, 10, 10, 10, 12, 100};
    EXPECT_EQ(CreateTransferFile(path.c_str(), image, rowoutput::FileLayout::kTiff), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(CreateTransferFile(path.c_str(), image, rowoutput::FileLayout::kBmp), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FileExists(path));
}

TEST(FileWriter, BmpIsClaimedAtFullSizeAndTiffStopsAtItsFirstRow) {
    const std::string path = TempPath("claimed.bmp");
    const fileheaders::ImageGeometry grey{kModeGray, 0, 10, 10, 10, 12, 100};
    HANDLE file = CreateTransferFile(path.c_str(), grey, rowoutput::FileLayout::kBmp);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 1198u);
    CloseHandle(file);
    const fileheaders::ImageGeometry colour{kModeColour, 0, 10, 10, 30, 32, 100};
    file = CreateTransferFile(path.c_str(), colour, rowoutput::FileLayout::kTiff);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 146u);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 146u);
    CloseHandle(file);
    DeleteFileA(path.c_str());
}

}  // namespace

// The shading calibration against the simulated driver, loaded directly: the
// requests in their order, the values sent, the resend, the kept tables
// shared with the prescan module, and every failure shown once.
#include "engine/calibration.h"
#include "profile/module_instance.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "device/device.h"
#include "engine/calibration_state.h"
#include "engine/shading.h"
#include "profile/language.h"
#include "session/session.h"
#include "settings/scan_settings.h"
#include "source/handlers.h"
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

constexpr uint16_t kDpi = 150;
// The simulated bed is 14040 optical units wide: 1755 pixels at 150 dpi.
constexpr uint16_t kColourLineBytes = 6 + 6 * 1755;
constexpr uint16_t kGreyLineBytes = 2 + 2 * 1755;

// Buffer bytes of every BUF_ADDR since the log was last cleared.
std::vector<uint32_t> BufAddrSizes() {
    std::vector<uint32_t> sizes;
    for (const std::string& line : ScannerLog())
        if (line.rfind("BUF_ADDR ", 0) == 0) sizes.push_back(std::stoul(line.substr(9)));
    return sizes;
}

using Sequence = std::vector<std::string>;
const Sequence kFullCalibration = {"F7", "BUF_ADDR", "F2", "BUF_ADDR", "BUF_ADDR", "BUF_ADDR", "BUF_ADDR", "F3"};

// The bytes the driver reads from a buffer: its descriptors in order, as one stream.
std::vector<uint8_t> DescribedStream(const uint8_t* table, uint16_t count, size_t bytes) {
    std::vector<uint8_t> stream;
    for (uint16_t i = 0; i < count && stream.size() < bytes; ++i) {
        const uint8_t* entry = table + i * blocks::kDescriptorSize;
        const auto* data = reinterpret_cast<const uint8_t*>(
            static_cast<uintptr_t>(blocks::GetU32(entry, blocks::descriptor::kAddress)));
        stream.insert(stream.end(), data, data + blocks::GetU32(entry, blocks::descriptor::kLength));
    }
    stream.resize(std::min(stream.size(), bytes));
    return stream;
}

std::vector<uint16_t> Values(const std::vector<uint8_t>& high, const std::vector<uint8_t>& low) {
    std::vector<uint16_t> values(high.size());
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<uint16_t>(high[i] << 8 | low[i]);
    return values;
}

// Interleaved red, green, blue samples as three planes.
std::vector<uint16_t> AsPlanes(const std::vector<uint16_t>& samples) {
    const size_t n = samples.size() / 3;
    std::vector<uint16_t> planes(3 * n);
    for (size_t p = 0; p < n; ++p)
        for (size_t c = 0; c < 3; ++c) planes[p + c * n] = samples[3 * p + c];
    return planes;
}

class CalibrationTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        g_moduleInstance = LoadLibraryExA((InstallDir() + "\\kvsc_a3.ds").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(g_moduleInstance, nullptr);
        g_language.index = 0;
        g_twain.mainDialog = nullptr;
    }

    void TearDown() override {
        Disconnect();
        FreeLibrary(g_moduleInstance);
        SourceTest::TearDown();
    }

    // Frees the calibration and unloads the driver, whose request numbers
    // start again at its next load.
    void Disconnect() {
        ReleaseCalibration();
        if (g_device.driverModule) FreeLibrary(g_device.driverModule);
        g_device = DeviceState{};
    }

    // Loads the driver afresh with `scannerKeys` in its INI file, no
    // calibration due and no message shown yet, and builds the gain tables
    // from the reference levels the scanner reports.
    void Connect(const std::string& scannerKeys = "", bool defaultDriver = true) {
        Disconnect();
        recorder.boxes.clear();
        g_calibration.colourShadingDue = false;
        g_calibration.greyShadingDue = false;
        std::memset(g_calibration.record, 0, sizeof g_calibration.record);
        SetScanner(scannerKeys);
        g_device.driverModule = LoadLibraryA((InstallDir() + "\\KVASPI_SP.DLL").c_str());
        ASSERT_NE(g_device.driverModule, nullptr);
        auto entry = [](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(g_device.driverModule, name));
        };
        g_device.addrChk = reinterpret_cast<AddrChkFn>(entry("ADDR_CHK"));
        g_device.spiCall = reinterpret_cast<SpiCallFn>(entry("SPI_CALL"));
        g_device.bufAddr = reinterpret_cast<BufAddrFn>(entry("BUF_ADDR"));
        ASSERT_TRUE(g_device.addrChk && g_device.spiCall && g_device.bufAddr);
        g_device.defaultDriver = defaultDriver;
        g_device.deviceHandle = g_device.addrChk();
        ASSERT_TRUE(ScannerRequest(blocks::kInquiry, g_device.blocks.inquiry));
        ASSERT_EQ(BlockStatus(g_device.blocks.inquiry), 0);
        uint16_t levels[4];
        for (int i = 0; i < 4; ++i)
            levels[i] = blocks::GetU16(g_device.blocks.inquiry, blocks::inquiry::kReferenceLevels + 2 * i);
        BuildGainTables(levels);
    }

    // SetScanParameters for a scan in `mode`; the log then starts empty.
    void SetParameters(uint16_t mode, uint16_t dpi = kDpi) {
        namespace sp = blocks::scanparam;
        uint8_t* block = g_device.blocks.scanParameters;
        blocks::PutU16(block, sp::kLeft, 1200);
        blocks::PutU16(block, sp::kTop, 1200);
        blocks::PutU16(block, sp::kRight, 6000);
        blocks::PutU16(block, sp::kBottom, 4800);
        block[sp::kSource] = 0;
        block[sp::kConstantOne] = 1;
        block[sp::kImageType] = static_cast<uint8_t>(mode - kModeLineArt);
        block[sp::kVelocity] = 0;
        blocks::PutU16(block, sp::kResolution, dpi);
        block[sp::kSaverOnly] = 0;
        ASSERT_TRUE(ScannerRequest(blocks::kSetScanParameters, block));
        ASSERT_EQ(BlockStatus(block), 0);
        ClearScannerLog();
    }

    bool ShadingNeeded() const { return g_device.blocks.scanParameters[blocks::scanparam::kShadingNeeded] == 1; }

    // The correction values the arithmetic gives for the white reference
    // the scanner reports now, read here with a buffer of our own.
    std::vector<uint16_t> ExpectedValues(shading::Group group, uint16_t dpi = kDpi) {
        namespace rs = blocks::readshading;
        const uint16_t lineBytes = blocks::GetU16(g_device.blocks.shadingSize, blocks::shadingsize::kLineBytes);
        const uint16_t lines = blocks::GetU16(g_device.blocks.shadingSize, blocks::shadingsize::kLines);
        const uint32_t whiteBytes = uint32_t{lineBytes} * lines;
        // The driver is handed addresses: the white lines and their table in driver memory.
        uint8_t* white = AllocateDriverMemory(whiteBytes + blocks::kDescriptorSize);
        EXPECT_NE(white, nullptr);
        if (white == nullptr) return {};
        uint8_t* table = white + whiteBytes;
        blocks::PutU32(table, blocks::descriptor::kLength, whiteBytes);
        blocks::PutU16(table, blocks::descriptor::kLines, lines);
        blocks::PutU32(table, blocks::descriptor::kAddress, BlockAddress(white));
        uint8_t block[blocks::kReadShadingSize] = {};
        blocks::PutU16(block, rs::kResolution, dpi);
        blocks::PutU16(block, rs::kLineBytes, lineBytes);
        blocks::PutU16(block, rs::kLines, lines);
        blocks::PutU32(block, rs::kTotalBytes, whiteBytes);
        blocks::PutU16(block, rs::kDescriptorCount, 1);
        blocks::PutU32(block, rs::kTable, BlockAddress(table));
        g_device.spiCall(block, g_device.deviceHandle, blocks::kReadShadingData);
        EXPECT_EQ(BlockStatus(block), 0);
        std::vector<uint16_t> values;
        EXPECT_TRUE(shading::AverageShadingLines(white, whiteBytes, lineBytes, lines, group, values));
        FreeDriverMemory(white);
        shading::ApplyGain(values, group, g_calibration.gainTables);
        return values;
    }

    // The values the last full calibration handed the driver, from the tables of its send block.
    static std::vector<uint16_t> SentValues() {
        namespace ss = blocks::sendshading;
        const uint8_t* block = g_device.blocks.sendShading;
        const uint32_t count = blocks::GetU32(block, ss::kEntryCount);
        auto table = [&](size_t at) {
            return reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(blocks::GetU32(block, at)));
        };
        return Values(DescribedStream(table(ss::kHighTable), blocks::GetU16(block, ss::kHighCount), count),
                      DescribedStream(table(ss::kLowTable), blocks::GetU16(block, ss::kLowCount), count));
    }

    void ExpectOneShadingFailure() {
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].text, "Shading correction fail.");
        EXPECT_EQ(recorder.boxes[0].caption, "SCANNERA3 Flatbed Scanner");
        EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONSTOP));
    }
};

TEST_F(CalibrationTest, ColourCalibrationSendsGainMappedAveragesAsPlanes) {
    Connect();
    SetParameters(kModeColour);
    ASSERT_TRUE(ShadingNeeded());
    ASSERT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(Requests(), kFullCalibration);
    EXPECT_EQ(blocks::GetU16(g_device.blocks.shadingSize, blocks::shadingsize::kOne), 1);

    const uint8_t* read = g_device.blocks.readShading;
    EXPECT_EQ(blocks::GetU16(read, blocks::readshading::kResolution), kDpi);
    EXPECT_EQ(blocks::GetU16(read, blocks::readshading::kLineBytes), kColourLineBytes);
    EXPECT_EQ(blocks::GetU32(read, blocks::readshading::kTotalBytes), uint32_t{kColourLineBytes} * 16);

    // Red, green and blue planes of the mapped averages, in that order.
    const std::vector<uint16_t> expected = ExpectedValues(shading::Group::kColour);
    ASSERT_EQ(expected.size(), 3u * 1755);
    const uint8_t* send = g_device.blocks.sendShading;
    EXPECT_EQ(blocks::GetU16(send, blocks::sendshading::kResolution), kDpi);
    EXPECT_EQ(blocks::GetU32(send, blocks::sendshading::kEntryCount), 3u * 1755);
    EXPECT_EQ(blocks::GetU16(send, blocks::sendshading::kZero1), 0);
    EXPECT_EQ(blocks::GetU16(send, blocks::sendshading::kZero2), 0);
    EXPECT_EQ(SentValues(), AsPlanes(expected));
    size_t differing = 0;
    for (size_t p = 0; p < 1755; ++p) differing += expected[3 * p] != expected[0];
    EXPECT_GT(differing, 0u) << "the white reference varies per element";

    // The green plane is kept for a resend and shared with the prescan module.
    const KeptShading& kept = g_shadingBuffers.kept[1];
    ASSERT_EQ(kept.values, 1755u);
    const std::vector<uint16_t> green = Values(DescribedStream(kept.high.table, kept.high.count, 1755),
                                               DescribedStream(kept.low.table, kept.low.count, 1755));
    const std::vector<uint16_t> planes = AsPlanes(expected);
    EXPECT_EQ(green, std::vector<uint16_t>(planes.begin() + 1755, planes.begin() + 2 * 1755));
    const uint8_t* record = g_calibration.record;
    EXPECT_EQ(std::memcmp(record + kCalibrationHighTable, kept.high.table, kept.high.count * blocks::kDescriptorSize),
              0);
    EXPECT_EQ(std::memcmp(record + kCalibrationLowTable, kept.low.table, kept.low.count * blocks::kDescriptorSize), 0);
    EXPECT_NE(kept.high.count, 0);
    EXPECT_FALSE(g_calibration.colourShadingDue);
}

TEST_F(CalibrationTest, GreyCalibrationMapsThroughTheGreyTableAndKeepsEveryValue) {
    Connect();
    g_calibration.greyShadingDue = true;
    SetParameters(kModeFastGray);
    ASSERT_EQ(CalibrateShading(kModeFastGray, kDpi), CalibrationResult::kDone);
    EXPECT_EQ(Requests(), kFullCalibration);
    EXPECT_EQ(blocks::GetU16(g_device.blocks.readShading, blocks::readshading::kLineBytes), kGreyLineBytes);
    const std::vector<uint16_t> expected = ExpectedValues(shading::Group::kGrey);
    EXPECT_EQ(SentValues(), expected);
    const KeptShading& kept = g_shadingBuffers.kept[0];
    EXPECT_EQ(Values(DescribedStream(kept.high.table, kept.high.count, kept.values),
                     DescribedStream(kept.low.table, kept.low.count, kept.values)),
              expected);
    EXPECT_FALSE(g_calibration.greyShadingDue);
    // The record's tables belong to the colour group.
    EXPECT_EQ(std::vector<uint8_t>(g_calibration.record + kCalibrationHighTable,
                                   g_calibration.record + kCalibrationRecordSize),
              std::vector<uint8_t>(kCalibrationRecordSize - kCalibrationHighTable, 0));
}

TEST_F(CalibrationTest, AfterACalibrationTheGroupIsOnlyResentUntilDueAgain) {
    Connect();
    g_calibration.colourShadingDue = true;
    SetParameters(kModeGray);
    ASSERT_EQ(CalibrateShading(kModeGray, kDpi), CalibrationResult::kDone);
    const KeptShading& kept = g_shadingBuffers.kept[1];

    // The scanner has its values now and only names the group: the kept green plane is resent.
    SetParameters(kModeColour);
    ASSERT_FALSE(ShadingNeeded());
    ASSERT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
    EXPECT_EQ(Requests(), Sequence{"F3"});
    const uint8_t* send = g_device.blocks.sendShading;
    EXPECT_EQ(blocks::GetU32(send, blocks::sendshading::kEntryCount), 1755u);
    EXPECT_EQ(blocks::GetU16(send, blocks::sendshading::kHighCount), kept.high.count);
    EXPECT_EQ(blocks::GetU16(send, blocks::sendshading::kLowCount), kept.low.count);
    EXPECT_EQ(blocks::GetU32(send, blocks::sendshading::kHighTable), BlockAddress(kept.high.table));
    EXPECT_EQ(blocks::GetU32(send, blocks::sendshading::kLowTable), BlockAddress(kept.low.table));

    // The grey group has nothing kept: nothing is sent.
    SetParameters(kModeLineArt);
    ASSERT_TRUE(ShadingNeeded());
    g_device.blocks.scanParameters[blocks::scanparam::kShadingNeeded] = 0;
    EXPECT_EQ(CalibrateShading(kModeLineArt, kDpi), CalibrationResult::kDone);
    EXPECT_TRUE(Requests().empty());

    // The main dialog opening makes both groups due again, and the prescan module's flag.
    MarkCalibrationDue();
    EXPECT_EQ(blocks::GetU16(g_calibration.record, kCalibrationFlag), 1);
    SetParameters(kModeColour);
    ASSERT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
    EXPECT_EQ(Requests(), kFullCalibration);
    EXPECT_TRUE(g_calibration.greyShadingDue);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(CalibrationTest, ScannerAskingEveryTimeGetsAFullPassEveryTime) {
    Connect("ShadingNeeded=2\n");
    for (int scan = 0; scan < 2; ++scan) {
        SetParameters(kModeColour);
        ASSERT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
        EXPECT_EQ(Requests(), kFullCalibration);
    }
}

TEST_F(CalibrationTest, NonzeroStatusOfAnyShadingRequestShowsTheMessageOnce) {
    const struct {
        const char* script;
        Sequence requests;
    } cases[] = {
        {"F7.1=1\n", {"F7"}},
        {"F2.1=0x8321\n", {"F7", "BUF_ADDR", "F2"}},
        {"F3.1=1\n", kFullCalibration},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        Connect(c.script);
        g_calibration.colourShadingDue = true;
        SetParameters(kModeColour);
        EXPECT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDeviceFailed);
        EXPECT_EQ(Requests(), c.requests);
        ExpectOneShadingFailure();
        EXPECT_TRUE(g_calibration.colourShadingDue);
    }
}

TEST_F(CalibrationTest, BadDescriptorCountsFailWithoutReadingShading) {
    for (const char* count : {"0", "17"}) {
        SCOPED_TRACE(count);
        Connect(std::string("BufAddrCount=") + count + "\n");
        SetParameters(kModeColour);
        EXPECT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDeviceFailed);
        EXPECT_EQ(Requests(), (Sequence{"F7", "BUF_ADDR"}));
        ExpectOneShadingFailure();
    }
}

TEST_F(CalibrationTest, UnusableShadingGeometryFailsBeforeAnyBuffer) {
    // Too few lines to drop the trimmed ends, and a white reference larger
    // than the 4 MB buffer (200 lines of 42126 bytes at 600 dpi).
    const struct {
        const char* keys;
        uint16_t mode;
        uint16_t dpi;
    } cases[] = {
        {"ShadingLinesGrey=6\n", kModeFastGray, kDpi},
        {"ShadingLinesColour=8\n", kModeColour, kDpi},
        {"ShadingLinesColour=200\n", kModeColour, 600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Connect(c.keys);
        SetParameters(c.mode, c.dpi);
        EXPECT_EQ(CalibrateShading(c.mode, c.dpi), CalibrationResult::kDeviceFailed);
        EXPECT_EQ(Requests(), Sequence{"F7"});
        ExpectOneShadingFailure();
    }
    // One line more than the grey trim is enough.
    Connect("ShadingLinesGrey=7\n");
    SetParameters(kModeFastGray);
    EXPECT_EQ(CalibrateShading(kModeFastGray, kDpi), CalibrationResult::kDone);
    EXPECT_EQ(SentValues(), ExpectedValues(shading::Group::kGrey));
}

TEST_F(CalibrationTest, BufferSizesFollowTheDriverRule) {
    const uint32_t total = uint32_t{kColourLineBytes} * 16;
    Connect();
    SetParameters(kModeColour);
    ASSERT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
    // Default driver: the white lines exactly, then one byte per value.
    EXPECT_EQ(BufAddrSizes(), (std::vector<uint32_t>{total, 5265, 5265, 1755, 1755}));

    // Another driver: 128 KB granules, one more granule above 128 KB; the
    // kept green pair a third of the output size.
    Connect("", false);
    SetParameters(kModeColour);
    ASSERT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
    EXPECT_EQ(BufAddrSizes(), (std::vector<uint32_t>{0x40000, 0x20000, 0x20000, 0x20000 / 3, 0x20000 / 3}));
    EXPECT_EQ(SentValues(), AsPlanes(ExpectedValues(shading::Group::kColour)));
}

TEST_F(CalibrationTest, DisablingTheSourceReleasesTheGainTables) {
    Connect();
    ASSERT_NE(blocks::GetU32(g_calibration.record, kCalibrationGainTables), 0u);
    g_twain.sourceState = kState5;
    DisableSource();
    EXPECT_EQ(g_twain.sourceState, kState4);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(blocks::GetU32(g_calibration.record, kCalibrationGainTables + 4 * i), 0u);
    for (const shading::GainTable& table : g_calibration.gainTables) EXPECT_EQ(table, shading::GainTable{});
}

TEST_F(CalibrationTest, ReleaseFreesEverythingOnceAndForgetsTheSharedTables) {
    Connect();
    SetParameters(kModeColour);
    ASSERT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
    ReleaseCalibration();
    ReleaseCalibration();
    for (const DriverBuffer* buffer :
         {&g_shadingBuffers.high, &g_shadingBuffers.low, &g_shadingBuffers.kept[1].high, &g_shadingBuffers.kept[1].low})
        EXPECT_EQ(buffer->bytes, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(g_calibration.record + kCalibrationHighTable,
                                   g_calibration.record + kCalibrationRecordSize),
              std::vector<uint8_t>(kCalibrationRecordSize - kCalibrationHighTable, 0));
    // Without kept values a scanner that only names the group gets nothing.
    SetParameters(kModeColour);
    ASSERT_FALSE(ShadingNeeded());
    EXPECT_EQ(CalibrateShading(kModeColour, kDpi), CalibrationResult::kDone);
    EXPECT_TRUE(Requests().empty());
}

}  // namespace

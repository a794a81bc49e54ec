#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/request_blocks.h"
#include "sim/buffer_descriptors.h"
#include "sim/scan_geometry.h"
#include "sim/scanner_model.h"

namespace {

using blocks::GetU16;
using blocks::GetU32;
using blocks::PutU16;
using Block = std::vector<uint8_t>;
using PollResult = std::pair<uint16_t, uint16_t>;  // fault word, ready word

class SimScanner : public ::testing::Test {
protected:
    void Open(const std::string& ini = "") {
        config = sim::ParseScannerConfig("[Scanner]\n" + ini);
        sim::ResetScanner(state, config);
    }

    uint16_t Request(uint32_t function, Block& block) {
        return sim::HandleRequest(state, function, block.data()).status;
    }

    PollResult Poll() {
        Block block(blocks::kStatusSize);
        Request(blocks::kGetStatus, block);
        return {GetU16(block.data(), blocks::status::kFault), GetU16(block.data(), blocks::status::kReady)};
    }

    uint16_t SetParameters(uint8_t imageType, uint16_t resolution, uint16_t right = 4800,
                           uint16_t bottom = 3600, Block* result = nullptr) {
        Block block(blocks::kScanParameterSize);
        namespace sp = blocks::scanparam;
        PutU16(block.data(), sp::kRight, right);
        PutU16(block.data(), sp::kBottom, bottom);
        block[sp::kConstantOne] = 1;
        block[sp::kImageType] = imageType;
        PutU16(block.data(), sp::kResolution, resolution);
        const uint16_t status = Request(blocks::kSetScanParameters, block);
        if (result != nullptr) *result = block;
        return status;
    }

    // StartScan: {status, bytes per line, lines}.
    std::array<uint16_t, 3> Start() {
        Block block(blocks::kStartScanSize);
        const uint16_t status = Request(blocks::kStartScan, block);
        return {status, GetU16(block.data(), blocks::startscan::kBytesPerLine),
                GetU16(block.data(), blocks::startscan::kLines)};
    }

    sim::ScannerConfig config;
    sim::ScannerState state;
};

TEST_F(SimScanner, InquiryReportsConfiguredIdentity) {
    Open("Revision=A\nRevision2=07\nModelPrefix=KVC-\nResolutionCode=0600\nCapabilityFlags=0x41\n"
         "RefRed=100\nRefGreen=200\nRefBlue=300\nRefGrey=4095\nFeeder=1\nFlag=1\n");
    Block block(blocks::kInquirySize);
    ASSERT_EQ(Request(blocks::kInquiry, block), 0);
    namespace inq = blocks::inquiry;
    const uint8_t* b = block.data();
    EXPECT_EQ(b[inq::kRevision], 'A');
    EXPECT_EQ(std::string(b + inq::kRevision2, b + inq::kRevision2 + 2), "07");
    EXPECT_EQ(std::string(b + inq::kModelPrefix, b + inq::kModelPrefix + 4), "KVC-");
    EXPECT_EQ(std::string(b + inq::kResolutionCode, b + inq::kResolutionCode + 4), "0600");
    EXPECT_EQ(b[inq::kCapabilityFlags], 0x41);
    EXPECT_EQ(GetU16(b, 70), 100);
    EXPECT_EQ(GetU16(b, 72), 200);
    EXPECT_EQ(GetU16(b, 74), 300);
    EXPECT_EQ(GetU16(b, 76), 4095);
    EXPECT_EQ(b[inq::kFeeder], 1);
    EXPECT_EQ(b[inq::kFlag], 1);
    EXPECT_EQ(GetU16(b, blocks::kStatus), 0);
}

TEST_F(SimScanner, InquiryStatusDecidesWhetherIdentityIsReported) {
    Open("InquiryStatus=0x00FF\n");
    Block notReady(blocks::kInquirySize);
    EXPECT_EQ(Request(blocks::kInquiry, notReady), 0x00FF);
    EXPECT_EQ(notReady[blocks::inquiry::kCapabilityFlags], 0x40);  // present, so it still answers

    Open("InquiryStatus=2\n");
    Block absent(blocks::kInquirySize);
    EXPECT_EQ(Request(blocks::kInquiry, absent), 2);
    EXPECT_EQ(GetU16(absent.data(), blocks::kStatus), 2);
    EXPECT_EQ(absent[blocks::inquiry::kCapabilityFlags], 0);  // no scanner: nothing filled in
}

TEST_F(SimScanner, WarmupPollsThenReady) {
    Open("WarmupPolls=2\n");
    EXPECT_EQ(Poll().second, 0);
    EXPECT_EQ(Poll().second, 0);
    EXPECT_EQ(Poll().second, sim::kReadyWord);
    EXPECT_EQ(Poll().second, sim::kReadyWord);

    Open("WarmupPolls=1\n");  // every ADDR_CHK warms up again
    EXPECT_EQ(Poll().second, 0);
    EXPECT_EQ(Poll().second, sim::kReadyWord);
}

TEST_F(SimScanner, NeverReadyAndFaultWord) {
    Open("NeverReady=1\nFault=0x0004\n");
    for (int i = 0; i < 50; ++i) EXPECT_EQ(Poll(), PollResult(4, 0));
}

TEST_F(SimScanner, StopScanAcceptedAndBusyForConfiguredPolls) {
    Open("StopBusyPolls=2\n");
    EXPECT_EQ(Poll().second, sim::kReadyWord);
    ASSERT_EQ(SetParameters(sim::kColour, 100), 0);
    ASSERT_EQ(Start()[0], 0);
    EXPECT_TRUE(state.session.scanning);

    Block stop(blocks::kStopSize);
    const sim::RequestRecord record = sim::HandleDriverCall(state, stop.data(), 0, blocks::kStopScan);
    EXPECT_EQ(record.status, 0);
    EXPECT_FALSE(state.session.scanning);
    EXPECT_EQ(Poll().second, 0);
    EXPECT_EQ(Poll().second, 0);
    EXPECT_EQ(Poll().second, sim::kReadyWord);
}

TEST_F(SimScanner, ScriptedStatusesCountRequestsOfEachFunctionSinceLoad) {
    Open("F6.3=0x8321\nF9.2=0x0001\nF0.2=0x00FF\n");
    Block stop(blocks::kStopSize);
    EXPECT_EQ(Request(blocks::kStopScan, stop), 0);
    EXPECT_EQ(Request(blocks::kStopScan, stop), 0);
    Open("F6.3=0x8321\nF9.2=0x0001\nF0.2=0x00FF\n");  // a new ADDR_CHK does not restart the count
    EXPECT_EQ(Request(blocks::kStopScan, stop), 0x8321);
    EXPECT_EQ(GetU16(stop.data(), blocks::kStatus), 0x8321);
    EXPECT_EQ(Request(blocks::kStopScan, stop), 0);

    EXPECT_EQ(Poll().first, 0);
    EXPECT_EQ(Poll(), PollResult(1, sim::kReadyWord));  // status of a poll = fault word
    EXPECT_EQ(Poll().first, 0);

    Block inquiry(blocks::kInquirySize);
    EXPECT_EQ(Request(blocks::kInquiry, inquiry), 0);
    EXPECT_EQ(Request(blocks::kInquiry, inquiry), 0x00FF);
    EXPECT_EQ(Request(blocks::kInquiry, inquiry), 0);
    EXPECT_EQ(state.requestCount, 10u);
}

TEST_F(SimScanner, ScriptedStatusSkipsTheRequest) {
    Open("F1.1=0x8414\n");
    EXPECT_EQ(SetParameters(sim::kColour, 100), 0x8414);
    EXPECT_EQ(Start()[0], sim::kRejected);  // the refused parameters were not taken
    EXPECT_EQ(SetParameters(sim::kColour, 100), 0);
    EXPECT_EQ(Start()[0], 0);
}

TEST_F(SimScanner, SaverOnlyRequestKeepsScanParameters) {
    Open();
    Block block(blocks::kScanParameterSize, 0xEE);
    PutU16(block.data(), blocks::scanparam::kSaverDelay, 255);
    block[blocks::scanparam::kSaverOnly] = 1;
    EXPECT_EQ(Request(blocks::kSetScanParameters, block), 0);
    EXPECT_EQ(state.session.saverDelay, 255);
    EXPECT_FALSE(state.session.haveParameters);
    EXPECT_EQ(block[blocks::scanparam::kShadingNeeded], 0xEE);  // result bytes untouched
}

TEST_F(SimScanner, ShadingFlagsPerModeGroup) {
    Open();
    Block result;
    namespace sp = blocks::scanparam;
    ASSERT_EQ(SetParameters(sim::kColour, 300, 4800, 3600, &result), 0);
    EXPECT_EQ(result[sp::kShadingNeeded], 1);
    EXPECT_EQ(result[sp::kShadingKind], 2);
    SetParameters(sim::kGreyColourShaded, 300, 4800, 3600, &result);  // colour group
    EXPECT_EQ(result[sp::kShadingKind], 2);
    SetParameters(sim::kLineArt, 300, 4800, 3600, &result);
    EXPECT_EQ(result[sp::kShadingNeeded], 1);
    EXPECT_EQ(result[sp::kShadingKind], 1);

    Open("ShadingNeeded=0\n");
    SetParameters(sim::kColour36, 300, 4800, 3600, &result);
    EXPECT_EQ(result[sp::kShadingNeeded], 0);
}

TEST_F(SimScanner, UnsupportedParametersAreRejected) {
    Open();
    EXPECT_EQ(Start()[0], sim::kRejected);  // nothing to start yet
    EXPECT_EQ(SetParameters(4, 100), sim::kRejected);
    EXPECT_EQ(SetParameters(sim::kGrey, 0), sim::kRejected);
    Block block(blocks::kScanParameterSize);
    block[blocks::scanparam::kSaverOnly] = 2;
    PutU16(block.data(), blocks::scanparam::kResolution, 100);
    EXPECT_EQ(Request(blocks::kSetScanParameters, block), sim::kRejected);
}

TEST(SimGeometry, DdaCountsAndOpticalRates) {
    EXPECT_EQ(sim::DdaCount(4800, 100, 1200), 400u);
    EXPECT_EQ(sim::DdaCount(3600, 100, 1200), 300u);
    EXPECT_EQ(sim::DdaCount(1200, 1200, 1200), 1200u);
    EXPECT_EQ(sim::DdaCount(600, 75, 600), 75u);
    EXPECT_EQ(sim::DdaCount(1, 1, 1200), 1u);  // the first position always counts
    EXPECT_EQ(sim::DdaCount(0, 300, 1200), 0u);
    EXPECT_EQ(sim::DdaCount(100, 2400, 1200), 100u);  // never more than one per position
    EXPECT_EQ(sim::OpticalRate({'1', '2', '0', '0'}), 1200u);
    EXPECT_EQ(sim::OpticalRate({'0', '6', '0', '0'}), 600u);
    EXPECT_EQ(sim::OpticalRate({'6', '0', '0', ' '}), 600u);
    EXPECT_EQ(sim::OpticalRate({' ', '8', '0', '0'}), 800u);
    EXPECT_EQ(sim::OpticalRate({'0', '6', '0', '6'}), 1200u);
    EXPECT_EQ(sim::OpticalRate({'6', '0', '0', '0'}), 600u);
}

TEST_F(SimScanner, StartScanReportsLineBytesAndLinesPerImageType) {
    Open();
    const struct {
        uint8_t type;
        uint16_t bytes;
    } cases[] = {{sim::kLineArt, 50}, {sim::kGrey, 400}, {sim::kGreyColourShaded, 400},
                 {sim::kColour, 1200}, {sim::kColour36, 2400}};
    for (const auto& c : cases) {
        ASSERT_EQ(SetParameters(c.type, 100), 0);
        EXPECT_EQ(Start(), (std::array<uint16_t, 3>{0, c.bytes, 300})) << int(c.type);
    }
    SetParameters(sim::kLineArt, 100, 4812);  // 401 pixels: only whole bytes are sent
    EXPECT_EQ(Start()[1], 50);

    Open("ResolutionCode=600\n");
    SetParameters(sim::kGrey, 100, 2400, 1800);  // 4 x 3 inches at 600 positions per inch
    EXPECT_EQ(Start(), (std::array<uint16_t, 3>{0, 400, 300}));
}

TEST_F(SimScanner, StartScanCutsTheAreaToTheBed) {
    Open();
    SetParameters(sim::kGrey, 1200, 60000, 60000);  // beyond the 11.7 x 17 inch bed
    EXPECT_EQ(Start(), (std::array<uint16_t, 3>{0, 14040, 20400}));
    SetParameters(sim::kColour36, 1200, 60000, 60000);  // 84240 bytes per line do not fit
    EXPECT_EQ(Start()[0], sim::kRejected);
    SetParameters(sim::kGrey, 100, 0, 3600);  // left = right: nothing to scan
    EXPECT_EQ(Start(), (std::array<uint16_t, 3>{0, 0, 0}));
    EXPECT_FALSE(state.session.scanning);

    Open("ModelPrefix=KVC-\n");
    SetParameters(sim::kGrey, 1200, 60000, 60000);
    EXPECT_EQ(Start(), (std::array<uint16_t, 3>{0, 10200, 13800}));
}

TEST_F(SimScanner, ShadingSizeFollowsModeGroupAndBedWidth) {
    Open("ShadingLinesColour=20\n");
    Block block(blocks::kShadingSizeSize);
    EXPECT_EQ(Request(blocks::kGetShadingSize, block), sim::kRejected);  // no mode yet

    SetParameters(sim::kColour, 100);  // 14040 positions at 100 dpi: 1170 pixels
    ASSERT_EQ(Request(blocks::kGetShadingSize, block), 0);
    EXPECT_EQ(GetU16(block.data(), blocks::shadingsize::kLineBytes), 6 + 6 * 1170);
    EXPECT_EQ(GetU16(block.data(), blocks::shadingsize::kLines), 20);

    SetParameters(sim::kGrey, 100);
    Request(blocks::kGetShadingSize, block);
    EXPECT_EQ(GetU16(block.data(), blocks::shadingsize::kLineBytes), 2 + 2 * 1170);
    EXPECT_EQ(GetU16(block.data(), blocks::shadingsize::kLines), 12);

    SetParameters(sim::kColour, 1200);  // 14040 colour pixels would not fit a u16 field
    Request(blocks::kGetShadingSize, block);
    EXPECT_EQ(GetU16(block.data(), blocks::shadingsize::kLineBytes), 6 + 6 * 10921);
}

TEST_F(SimScanner, DriverCallsNeedTheHandedOutHandle) {
    Open("AddrChk=5\n");
    Block status(blocks::kStatusSize);
    Block params(blocks::kScanParameterSize);
    EXPECT_EQ(sim::HandleDriverCall(state, status.data(), 5, blocks::kGetStatus).status, 0);
    EXPECT_EQ(sim::HandleDriverCall(state, status.data(), 0, blocks::kGetStatus).status, 0);
    const sim::RequestRecord refused =
        sim::HandleDriverCall(state, params.data(), 0, blocks::kSetScanParameters);
    EXPECT_EQ(refused.status, sim::kRejected);
    EXPECT_EQ(GetU16(params.data(), blocks::kStatus), sim::kRejected);
    EXPECT_EQ(sim::HandleDriverCall(state, params.data(), 1, blocks::kInquiry).status, sim::kRejected);
    EXPECT_EQ(sim::HandleDriverCall(state, nullptr, 5, blocks::kGetStatus).status, sim::kRejected);

    const sim::RequestRecord unknown = sim::HandleDriverCall(state, status.data(), 5, 10);
    EXPECT_EQ(unknown.status, sim::kRejected);
    EXPECT_EQ(unknown.functionNumber, 0u);
    EXPECT_EQ(sim::FormatRequestLine(unknown), "6 F10.0 0x8000");
    EXPECT_EQ(sim::FormatRequestLine(refused), "3 F1.1 0x8000");
}

TEST(SimBufAddr, WholeLinesSpreadOverTheSegments) {
    const sim::ScannerConfig config = sim::ParseScannerConfig("[Scanner]\nSegments=3\n");
    std::vector<uint8_t> table(blocks::kDescriptorSize * blocks::kMaxDescriptors);
    // 33 lines of 30 bytes and 10 bytes more: 11 lines each, the last with the rest.
    ASSERT_EQ(sim::BufAddr(config, 0x10000, 1000, table.data(), 30), 3);
    const uint32_t lengths[] = {330, 330, 340};
    for (uint32_t i = 0; i < 3; ++i) {
        const uint8_t* entry = table.data() + i * blocks::kDescriptorSize;
        EXPECT_EQ(GetU32(entry, blocks::descriptor::kLength), lengths[i]);
        EXPECT_EQ(GetU32(entry, blocks::descriptor::kAddress), 0x10000 + i * 330);
    }
    // 16 lines in 3 segments: 6, 5, 5.
    ASSERT_EQ(sim::BufAddr(config, 0, 160, table.data(), 10), 3);
    EXPECT_EQ(GetU32(table.data(), blocks::descriptor::kLength), 60u);
    EXPECT_EQ(GetU32(table.data() + 2 * blocks::kDescriptorSize, blocks::descriptor::kLength), 50u);
    // Every segment holds at least one line when the buffer does.
    EXPECT_EQ(sim::SplitBuffer(0, 70, 30, 3, table.data()), 2);
    EXPECT_EQ(sim::SplitBuffer(0, 20, 30, 3, table.data()), 1);
    EXPECT_EQ(sim::SplitBuffer(0, 0, 30, 3, table.data()), 0);
    EXPECT_EQ(sim::SplitBuffer(0, 100, 30, 3, nullptr), 0);
    EXPECT_EQ(sim::SplitBuffer(0, 1 << 20, 0, 99, table.data()), 16);
}

TEST(SimBufAddr, ForcedCountNeverWritesPastSixteenDescriptors) {
    sim::ScannerConfig config = sim::ParseScannerConfig("[Scanner]\nSegments=16\nBufAddrCount=17\n");
    std::vector<uint8_t> table(blocks::kDescriptorSize * (blocks::kMaxDescriptors + 1), 0xAA);
    EXPECT_EQ(sim::BufAddr(config, 0, 1 << 20, table.data(), 64), 17);
    const size_t end = blocks::kDescriptorSize * blocks::kMaxDescriptors;
    for (size_t i = end; i < table.size(); ++i) ASSERT_EQ(table[i], 0xAA);

    config = sim::ParseScannerConfig("[Scanner]\nBufAddrCount=0\n");
    EXPECT_EQ(sim::BufAddr(config, 0, 1 << 20, table.data(), 64), 0);
}

}  // namespace

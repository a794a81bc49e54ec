// Image lines of the simulated scanner: tone tables, line art, sampling of
// the bed, the read segmentation, and what the sources and bed files give.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>

#include "sim/bed_pattern.h"
#include "sim_scan_fixture.h"

namespace {

using simtest::Block;
using simtest::MakeBmp;
namespace tt = blocks::tonetable;

constexpr std::array<uint16_t, 4> kPatchRow = {600, 720, 10200, 1920};  // across the colour patches

Block ToneBlock(uint8_t selector, uint8_t threshold, const std::vector<std::vector<uint8_t>>& tables) {
    Block block(blocks::kToneTableSize);
    block[tt::kThreshold] = threshold;
    block[tt::kSelector] = selector;
    for (size_t r = 0; r < tables.size(); ++r) {
        uint8_t* record = block.data() + tt::kFirstRecord + r * tt::kRecordSize;
        blocks::PutU16(record, 0, static_cast<uint16_t>(tables[r].size()));
        std::copy(tables[r].begin(), tables[r].end(), record + 2);
    }
    return block;
}

std::vector<uint8_t> Table(size_t entries, bool inverted) {
    std::vector<uint8_t> table(entries);
    const size_t shift = entries == 4096 ? 4 : 0;
    for (size_t i = 0; i < entries; ++i) {
        const uint8_t v = static_cast<uint8_t>(i >> shift);
        table[i] = inverted ? static_cast<uint8_t>(255 - v) : v;
    }
    return table;
}

class SimImage : public simtest::SimScan {
protected:
    uint16_t SendTone(Block block) { return Request(blocks::kSendToneTable, block); }

    Block ScanArea(uint8_t type, uint16_t resolution, std::array<uint16_t, 4> area, uint8_t source = 0) {
        Parameters(type, resolution, area, source);
        Block image;
        EXPECT_EQ(Scan(image), 0);
        return image;
    }
};

TEST_F(SimImage, ToneTablesMapTheCorrectedValue) {
    Open();
    const Block plain = ScanArea(sim::kGrey, 100, kPatchRow);
    ASSERT_EQ(plain.size(), 800u * 100);
    ASSERT_EQ(SendTone(ToneBlock(tt::kOneTable, 0, {Table(256, false)})), 0);
    EXPECT_EQ(ScanArea(sim::kGrey, 100, kPatchRow), plain);  // identity: the top 8 bits of the value
    ASSERT_EQ(SendTone(ToneBlock(tt::kOneTable, 0, {Table(4096, false)})), 0);
    EXPECT_EQ(ScanArea(sim::kGrey, 100, kPatchRow), plain);  // indexed by all 12 bits
    ASSERT_EQ(SendTone(ToneBlock(tt::kOneTable, 0, {Table(256, true)})), 0);
    const Block inverted = ScanArea(sim::kGrey, 100, kPatchRow);
    for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(inverted[i], 255 - plain[i]);

    // Colour after a three-table block: records 2, 3, 4 for red, green, blue.
    ASSERT_EQ(SendTone(ToneBlock(tt::kOneTable, 0, {Table(256, false)})), 0);
    const Block colour = ScanArea(sim::kColour, 100, kPatchRow);
    ASSERT_EQ(SendTone(ToneBlock(tt::kThreeTables, 0,
                                 {std::vector<uint8_t>(256, 0), Table(256, false), Table(4096, true),
                                  Table(256, false)})),
              0);
    const Block toned = ScanArea(sim::kColour, 100, kPatchRow);
    for (size_t i = 0; i < colour.size(); i += 3) {
        ASSERT_EQ(toned[i], colour[i]);
        ASSERT_EQ(toned[i + 1], 255 - colour[i + 1]);
        ASSERT_EQ(toned[i + 2], colour[i + 2]);
    }
    EXPECT_EQ(toned, Expected());

    EXPECT_EQ(SendTone(ToneBlock(tt::kOneTable, 0, {std::vector<uint8_t>(100, 0)})), sim::kRejected);
    EXPECT_EQ(SendTone(ToneBlock(3, 0, {Table(256, false)})), sim::kRejected);
    EXPECT_EQ(ScanArea(sim::kColour, 100, kPatchRow), toned);  // refused blocks change nothing
}

TEST_F(SimImage, LineArtIsTheThresholdedTonedGreyMostSignificantBitFirst) {
    Open();
    const std::array<uint16_t, 4> area = {600, 720, 5412, 1008};  // 401 pixels: 50 whole bytes
    const Block grey = ScanArea(sim::kGrey, 100, area);
    ASSERT_EQ(grey.size(), 401u * 24);
    for (const uint8_t threshold : {0, 1, 128, 200, 255}) {
        ASSERT_EQ(SendTone(ToneBlock(tt::kOneTable, threshold, {Table(256, false)})), 0);
        const Block bits = ScanArea(sim::kLineArt, 100, area);
        ASSERT_EQ(bits.size(), 50u * 24);  // the pixel of a partial last byte is not sent
        for (size_t line = 0; line < 24; ++line) {
            for (size_t x = 0; x < 400; ++x) {
                const bool white = (bits[line * 50 + x / 8] >> (7 - x % 8)) & 1;
                const bool expected = grey[line * 401 + x] >= threshold;
                ASSERT_EQ(white, expected) << int(threshold) << " " << line << " " << x;
            }
        }
    }
}

TEST_F(SimImage, SamplingFollowsTheAreaAndIsRepeatable) {
    Open();
    const std::array<uint16_t, 4> area = {1200, 600, 9600, 6000};
    const Block first = ScanArea(sim::kColour, 75, area);
    EXPECT_EQ(ScanArea(sim::kColour, 75, area), first);
    EXPECT_EQ(first, Expected());
    EXPECT_EQ(first.size(), size_t{525} * 3 * 338);

    // A part of the area that starts on a sampled position gives the same bytes.
    const uint32_t pixels = 525;
    const Block part = ScanArea(sim::kColour, 75, {1200 + 16 * 40, 600 + 16 * 30, 1200 + 16 * 140, 600 + 16 * 90});
    ASSERT_EQ(part.size(), size_t{100} * 3 * 60);
    for (uint32_t y = 0; y < 60; ++y) {
        ASSERT_TRUE(std::equal(part.begin() + y * 300, part.begin() + (y + 1) * 300,
                               first.begin() + ((30 + y) * pixels + 40) * 3))
            << y;
    }

    // With equal gains the same place shows the same content at another optical rate.
    Open("GainVariation=0\n");
    const Block fine = ScanArea(sim::kColour, 75, area);
    Open("GainVariation=0\nResolutionCode=600\n");
    EXPECT_EQ(ScanArea(sim::kColour, 75, {600, 300, 4800, 3000}), fine);
}

TEST_F(SimImage, ReadsFillTheDescriptorSegmentsInOrderAndNeverPastThem) {
    Open();
    const Block whole = [&] {
        Block image;
        Parameters(sim::kGrey, 100, kPatchRow);
        EXPECT_EQ(Scan(image, 5), 0);  // 3 segments cut to 1 line each: many reads
        return image;
    }();
    EXPECT_EQ(whole, Expected());
    for (const uint32_t bufferLines : {1u, 2u, 7u, 50u, 100u, 400u}) {
        Block image;
        ASSERT_EQ(Scan(image, bufferLines), 0) << bufferLines;
        EXPECT_EQ(image, whole) << bufferLines;
    }
    EXPECT_TRUE(arena.GuardsIntact());

    // Untrimmed tails of the segments stay untouched; reads are refused when
    // the descriptors hold fewer lines than asked, go back, or pass the end.
    Block start(blocks::kStartScanSize);
    ASSERT_EQ(Request(blocks::kStartScan, start), 0);
    const uint16_t lineBytes = blocks::GetU16(start.data(), blocks::startscan::kBytesPerLine);
    // 4.5 lines in 3 segments (2, 1, 1.5 lines), each cut to the 1 line they all hold.
    const simtest::DescribedBuffer buffer = Describe(lineBytes * 4 + lineBytes / 2, lineBytes, simtest::Trim::kCommon);
    std::fill_n(arena.At(buffer.address), buffer.bytes, 0xEE);
    Block read = ReadBlock(lineBytes, 4, 0, buffer);
    EXPECT_EQ(Request(blocks::kReadImageData, read), sim::kRejected);
    EXPECT_EQ(std::count(arena.At(buffer.address), arena.At(buffer.address) + buffer.bytes, 0xEE), buffer.bytes);
    read = ReadBlock(lineBytes, 3, 0, buffer);
    blocks::PutU32(read.data(), blocks::readdata::kTable, 0);  // the table the record holds is the one read
    ASSERT_EQ(Request(blocks::kReadImageData, read), 0);
    for (uint32_t s = 0; s < 3; ++s) {
        const uint8_t* segment = arena.At(buffer.segmentAddresses[s]);
        const uint8_t* next = s + 1 < 3 ? arena.At(buffer.segmentAddresses[s + 1]) : arena.At(buffer.address) + buffer.bytes;
        EXPECT_TRUE(std::equal(segment, segment + lineBytes, whole.begin() + s * lineBytes));
        EXPECT_EQ(std::count(segment + lineBytes, next, 0xEE), next - segment - lineBytes);
    }
    read = ReadBlock(lineBytes, 1, 2, buffer);
    EXPECT_EQ(Request(blocks::kReadImageData, read), sim::kRejected);  // goes back
    // Lines held above what the length allows are not believed.
    blocks::PutU16(arena.At(buffer.table), blocks::descriptor::kLines, 5);
    read = ReadBlock(lineBytes, 5, 3, buffer);
    EXPECT_EQ(Request(blocks::kReadImageData, read), sim::kRejected);
    EXPECT_TRUE(arena.GuardsIntact());

    Parameters(sim::kGrey, 100, {600, 720, 700, 744});  // 2 lines
    Block image;
    ASSERT_EQ(Scan(image), 0);
    read = ReadBlock(9, 1, 2, buffer);
    EXPECT_EQ(Request(blocks::kReadImageData, read), sim::kRejected);  // all lines are in
}

TEST_F(SimImage, ScriptedStatusesSkipImageRequests) {
    Open("F4.1=0x8414\nF8.2=0x8321\n");
    EXPECT_EQ(SendTone(ToneBlock(tt::kOneTable, 0, {Table(256, true)})), 0x8414);
    Parameters(sim::kGrey, 100, kPatchRow);
    EXPECT_EQ(state.session.tone.records[0], Table(256, false));  // the refused tables were not taken
    Block start(blocks::kStartScanSize);
    ASSERT_EQ(Request(blocks::kStartScan, start), 0);
    const simtest::DescribedBuffer buffer = Describe(800 * 30, 800, simtest::Trim::kCommon);
    Block read = ReadBlock(800, 30, 0, buffer);
    ASSERT_EQ(Request(blocks::kReadImageData, read), 0);
    read = ReadBlock(800, 30, 30, buffer);
    EXPECT_EQ(Request(blocks::kReadImageData, read), 0x8321);
    EXPECT_EQ(Request(blocks::kReadImageData, read), 0);  // the repeated read brings lines 30..59
    const Block expected = Expected();
    EXPECT_TRUE(std::equal(arena.At(buffer.address), arena.At(buffer.address) + 800 * 10,
                           expected.begin() + 800 * 30));
}

TEST_F(SimImage, Colour36CarriesTheCorrected12BitValues) {
    Open();
    const Block colour = ScanArea(sim::kColour, 100, kPatchRow);
    const Block deep = ScanArea(sim::kColour36, 100, kPatchRow);
    ASSERT_EQ(deep.size(), 2 * colour.size());
    for (size_t i = 0; i < colour.size(); ++i) {
        const uint16_t value = blocks::GetU16(deep.data(), 2 * i);
        ASSERT_LE(value, 4095);
        ASSERT_EQ(value >> 4, colour[i]);
    }
}

TEST_F(SimImage, ProceduralBedShowsItsLayout) {
    Open("GainVariation=0\n");
    // Patches at 0.5 + 0.9 k inches: red, green, blue, cyan, magenta, yellow, black, grey.
    const Block row = ScanArea(sim::kColour, 10, {600, 1200, 9600, 1320});
    ASSERT_EQ(row.size(), 75u * 3);
    auto at = [&](double inch) { return row.begin() + 3 * static_cast<size_t>(inch * 10 - 0.5 * 10); };
    EXPECT_GT(at(0.9)[0], 200);  // red
    EXPECT_LT(at(0.9)[1], 60);
    EXPECT_GT(at(1.8)[1], 150);  // green
    EXPECT_GT(at(2.7)[2], 180);  // blue
    EXPECT_LT(at(6.3)[0], 30);   // black
    EXPECT_EQ(at(7.7)[0], 250);  // paper beside the patches
    // The grey ramp rises from left to right.
    const Block ramp = ScanArea(sim::kGrey, 50, {600, 2400, 9480, 2424});
    EXPECT_TRUE(std::is_sorted(ramp.begin(), ramp.end()));
    EXPECT_LT(ramp.front(), 5);
    EXPECT_GT(ramp.back(), 250);
    // The finest line group alternates at 600 dpi; text has black strokes on paper.
    const Block bars = ScanArea(sim::kGrey, 600, {2760, 5400, 2800, 5401});  // bars of 2 dots
    for (size_t x = 0; x + 1 < bars.size(); ++x) ASSERT_NE(bars[x] < 128, bars[x + 1] < 128) << x;
    const Block text = ScanArea(sim::kGrey, 300, {600, 8160, 9480, 8304});
    EXPECT_GT(std::count(text.begin(), text.end(), 0), 1000);
    EXPECT_GT(std::count(text.begin(), text.end(), 250), 1000);
}

TEST_F(SimImage, SourcesChangeWhatTheScanSees) {
    Open("GainVariation=0\n");
    const std::array<uint16_t, 4> lid = {10200, 8640, 12000, 9000};  // lid between the right-hand photos
    const std::array<uint16_t, 4> photo = {10800, 1200, 12000, 1500};
    const Block reflective = ScanArea(sim::kGrey, 100, lid, 0);
    EXPECT_LT(*std::max_element(reflective.begin(), reflective.end()), 255);  // the lid's squares
    EXPECT_GT(std::set<uint8_t>(reflective.begin(), reflective.end()).size(), 1u);
    const Block positive = ScanArea(sim::kGrey, 100, lid, 1);
    EXPECT_EQ(std::count(positive.begin(), positive.end(), 255), long(positive.size()));  // light passes
    const Block negative = ScanArea(sim::kGrey, 100, lid, 2);
    EXPECT_EQ(std::count(negative.begin(), negative.end(), 0), long(negative.size()));
    EXPECT_EQ(ScanArea(sim::kColour, 100, photo, 1), ScanArea(sim::kColour, 100, photo, 0));
    const Block feederPhoto = ScanArea(sim::kGrey, 100, photo, 3);  // the feeder brings the page alone
    EXPECT_EQ(std::count(feederPhoto.begin(), feederPhoto.end(), 255), long(feederPhoto.size()));
    const std::array<uint16_t, 4> onPage = {600, 720, 9600, 1920};
    EXPECT_EQ(ScanArea(sim::kColour, 100, onPage, 3), ScanArea(sim::kColour, 100, onPage, 0));
}

TEST_F(SimImage, BedFileCoversTheWholeBed) {
    // Four columns (red, green, blue, white) by two rows, stretched over the bed.
    std::vector<std::array<uint8_t, 3>> columns = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    Block bmp = MakeBmp(columns, 2);
    std::fill_n(bmp.begin() + 54 + 9, 3, 0);  // bottom row (stored first), fourth pixel: black
    const std::string path = ::testing::TempDir() + "sim_bed.bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());
    Open("GainVariation=0\nBedFile=" + path + "\n");
    ASSERT_TRUE(state.config.problems.empty()) << state.config.problems.front();
    ASSERT_EQ(state.bed.width, 4u);
    const Block top = ScanArea(sim::kColour, 10, {0, 0, 14040, 120});
    ASSERT_EQ(top.size(), 117u * 3);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[1], 0);
    EXPECT_EQ(top[3 * 40 + 1], 255);  // the second quarter is green
    EXPECT_EQ(top[3 * 116 + 2], 255);
    const Block bottom = ScanArea(sim::kColour, 10, {0, 20280, 14040, 20400});
    EXPECT_EQ(bottom[3 * 116], 0);  // the lower half of the fourth quarter is black
    EXPECT_EQ(bottom[3 * 116 + 2], 0);
    // A negative inverts the picture: red becomes cyan, whose grey is (151 + 28) x 255 / 256.
    EXPECT_NEAR(ScanArea(sim::kGrey, 10, {0, 0, 14040, 120}, 2)[0], 178, 1);
    std::remove(path.c_str());

    Open("BedFile=/nonexistent/bed.bmp\n");
    ASSERT_EQ(state.config.problems.size(), 1u);
    EXPECT_EQ(state.config.problems[0].rfind("BedFile: cannot open", 0), 0u);
    EXPECT_TRUE(state.bed.Empty());  // the procedural bed instead
}

TEST(SimBmp, ParsesBothRowOrdersAndRefusesOtherFiles) {
    const std::vector<std::array<uint8_t, 3>> columns = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    Block bottomUp = MakeBmp(columns, 2);
    bottomUp[54] = 99;  // blue of the bottom row's first pixel
    sim::BedImage image;
    std::string problem;
    ASSERT_TRUE(sim::ParseBmp(bottomUp.data(), bottomUp.size(), image, problem));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.rgb[2], 3);       // top row first, red, green, blue
    EXPECT_EQ(image.rgb[9 + 2], 99);  // the bottom row last
    Block topDown = MakeBmp(columns, 2, true);
    topDown[54] = 99;
    ASSERT_TRUE(sim::ParseBmp(topDown.data(), topDown.size(), image, problem));
    EXPECT_EQ(image.rgb[2], 99);

    Block truncated = bottomUp;
    truncated.resize(truncated.size() - 1);
    EXPECT_FALSE(sim::ParseBmp(truncated.data(), truncated.size(), image, problem));
    Block eightBit = bottomUp;
    blocks::PutU16(eightBit.data(), 28, 8);
    EXPECT_FALSE(sim::ParseBmp(eightBit.data(), eightBit.size(), image, problem));
    Block farOffset = bottomUp;
    blocks::PutU32(farOffset.data(), 10, 0xFFFFFFF0);
    EXPECT_FALSE(sim::ParseBmp(farOffset.data(), farOffset.size(), image, problem));
    EXPECT_FALSE(sim::ParseBmp(bottomUp.data(), 20, image, problem));
    EXPECT_EQ(image.rgb[2], 99);  // a refused file leaves the picture alone
}

}  // namespace

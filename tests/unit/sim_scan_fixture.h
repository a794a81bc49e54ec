// Test support for the simulated scanner's image path: an arena standing in
// for the caller's memory (guard bytes around every allocation show a write
// past a buffer) and a fixture that issues requests the way a data source does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "device/request_blocks.h"
#include "sim/buffer_descriptors.h"
#include "sim/scanner_model.h"

namespace simtest {

using Block = std::vector<uint8_t>;

class Arena {
public:
    static constexpr uint32_t kBase = 0x100000;
    static constexpr uint32_t kGuard = 64;
    static constexpr uint8_t kGuardByte = 0xA5;

    Arena() : bytes_(32u << 20, kGuardByte) {}

    // A zeroed allocation with guard bytes on both sides.
    uint32_t Allocate(uint32_t size, uint8_t fill = 0) {
        const uint32_t offset = used_ + kGuard;
        if (uint64_t{offset} + size + kGuard > bytes_.size()) throw std::runtime_error("arena full");
        used_ = offset + size;
        std::fill_n(bytes_.begin() + offset, size, fill);
        allocated_.push_back({offset, offset + size});
        return kBase + offset;
    }
    uint8_t* At(uint32_t address) { return bytes_.data() + (address - kBase); }
    bool GuardsIntact() const {
        uint32_t from = 0;
        for (const auto& range : allocated_) {
            if (!Untouched(from, range.first)) return false;
            from = range.second;
        }
        return Untouched(from, static_cast<uint32_t>(bytes_.size()));
    }
    sim::MemoryAccess Access() { return {&Arena::Resolve, this}; }

private:
    bool Untouched(uint32_t from, uint32_t to) const {
        return std::all_of(bytes_.begin() + from, bytes_.begin() + to, [](uint8_t b) { return b == kGuardByte; });
    }
    static uint8_t* Resolve(void* context, uint32_t address, uint32_t length) {
        Arena* arena = static_cast<Arena*>(context);
        if (address < kBase || address - kBase + uint64_t{length} > arena->bytes_.size()) return nullptr;
        return arena->At(address);
    }
    std::vector<uint8_t> bytes_;
    uint32_t used_ = 0;
    std::vector<std::pair<uint32_t, uint32_t>> allocated_;
};

// A buffer described by BUF_ADDR and trimmed as the data source does.
struct DescribedBuffer {
    uint32_t address = 0;
    uint32_t bytes = 0;
    uint32_t table = 0;
    uint16_t count = 0;
    uint32_t linesPerSegment = 0;  // image buffers: the common line count
    std::vector<uint32_t> segmentAddresses;
};

enum class Trim {
    kNone,        // byte streams: the lengths as BUF_ADDR left them
    kEachSegment, // shading reads: each length cut to its whole lines
    kCommon,      // image reads: every length cut to the lines the smallest segment holds
};

class SimScan : public ::testing::Test {
protected:
    void Open(const std::string& ini = "") {
        sim::ResetScanner(state, sim::ParseScannerConfig("[Scanner]\n" + ini));
        state.memory = arena.Access();
    }

    uint16_t Request(uint32_t function, Block& block) { return sim::HandleRequest(state, function, block.data()).status; }

    Block Parameters(uint8_t imageType, uint16_t resolution, std::array<uint16_t, 4> area, uint8_t source = 0) {
        namespace sp = blocks::scanparam;
        Block block(blocks::kScanParameterSize);
        blocks::PutU16(block.data(), sp::kLeft, area[0]);
        blocks::PutU16(block.data(), sp::kTop, area[1]);
        blocks::PutU16(block.data(), sp::kRight, area[2]);
        blocks::PutU16(block.data(), sp::kBottom, area[3]);
        block[sp::kSource] = source;
        block[sp::kConstantOne] = 1;
        block[sp::kImageType] = imageType;
        blocks::PutU16(block.data(), sp::kResolution, resolution);
        EXPECT_EQ(Request(blocks::kSetScanParameters, block), 0);
        return block;
    }

    DescribedBuffer Describe(uint32_t bytes, uint16_t lineBytes, Trim trim) {
        DescribedBuffer b;
        b.bytes = bytes;
        b.address = arena.Allocate(bytes);
        b.table = arena.Allocate(blocks::kDescriptorSize * blocks::kMaxDescriptors);
        uint8_t* table = arena.At(b.table);
        b.count = sim::BufAddr(state.config, b.address, bytes, table, lineBytes);
        uint32_t common = 32767;
        for (uint16_t i = 0; i < b.count; ++i) {
            common = std::min(common, blocks::GetU32(table + i * blocks::kDescriptorSize, 0) / lineBytes);
        }
        for (uint16_t i = 0; i < b.count && trim != Trim::kNone; ++i) {
            uint8_t* entry = table + i * blocks::kDescriptorSize;
            const uint32_t lines = trim == Trim::kCommon ? common : blocks::GetU32(entry, 0) / lineBytes;
            blocks::PutU32(entry, blocks::descriptor::kLength, lines * lineBytes);
            blocks::PutU16(entry, blocks::descriptor::kLines, static_cast<uint16_t>(lines));
        }
        b.linesPerSegment = common;
        for (uint16_t i = 0; i < b.count; ++i) {
            b.segmentAddresses.push_back(blocks::GetU32(table + i * blocks::kDescriptorSize, blocks::descriptor::kAddress));
        }
        return b;
    }

    // The lines of a shading read, each descriptor holding its lines-held count.
    Block GatherLines(const DescribedBuffer& buffer, uint32_t lineBytes, uint32_t lines) {
        Block data;
        for (uint16_t i = 0; i < buffer.count && data.size() < size_t{lines} * lineBytes; ++i) {
            const uint16_t held = blocks::GetU16(arena.At(buffer.table) + i * blocks::kDescriptorSize, 4);
            const uint8_t* at = arena.At(buffer.segmentAddresses[i]);
            data.insert(data.end(), at, at + size_t{held} * lineBytes);
        }
        data.resize(size_t{lines} * lineBytes);
        return data;
    }

    // The white reference through GetShadingSize and ReadShadingData, lines
    // gathered from the descriptors; the status of the read.
    uint16_t ReadShading(Block& data, uint16_t& lineBytes, uint16_t& lines) {
        Block size(blocks::kShadingSizeSize);
        if (uint16_t status = Request(blocks::kGetShadingSize, size)) return status;
        lineBytes = blocks::GetU16(size.data(), blocks::shadingsize::kLineBytes);
        lines = blocks::GetU16(size.data(), blocks::shadingsize::kLines);
        const DescribedBuffer buffer = Describe(uint32_t{lineBytes} * lines, lineBytes, Trim::kEachSegment);
        namespace rs = blocks::readshading;
        Block read(blocks::kReadShadingSize);
        blocks::PutU16(read.data(), rs::kResolution, state.session.parameters.resolution);
        blocks::PutU16(read.data(), rs::kLineBytes, lineBytes);
        blocks::PutU16(read.data(), rs::kLines, lines);
        blocks::PutU32(read.data(), rs::kTotalBytes, uint32_t{lineBytes} * lines);
        blocks::PutU16(read.data(), rs::kDescriptorCount, buffer.count);
        blocks::PutU32(read.data(), rs::kTable, buffer.table);
        if (uint16_t status = Request(blocks::kReadShadingData, read)) return status;
        data = GatherLines(buffer, lineBytes, lines);
        return 0;
    }

    // SendShadingData with the values split into high and low bytes, each
    // stream in a buffer that BUF_ADDR splits into the configured segments
    // (rounded up to whole 16 bytes).
    uint16_t SendShading(const std::vector<uint16_t>& values, uint16_t resolution) {
        const uint32_t n = static_cast<uint32_t>(values.size());
        const uint32_t bytes = (n + 15) / 16 * 16;
        const DescribedBuffer high = Describe(bytes, 1, Trim::kNone);
        const DescribedBuffer low = Describe(bytes, 1, Trim::kNone);
        for (uint32_t i = 0; i < n; ++i) {
            arena.At(high.address)[i] = static_cast<uint8_t>(values[i] >> 8);
            arena.At(low.address)[i] = static_cast<uint8_t>(values[i]);
        }
        namespace ss = blocks::sendshading;
        Block send(blocks::kSendShadingSize);
        blocks::PutU16(send.data(), ss::kResolution, resolution);
        blocks::PutU32(send.data(), ss::kEntryCount, n);
        blocks::PutU16(send.data(), ss::kHighCount, high.count);
        blocks::PutU16(send.data(), ss::kLowCount, low.count);
        blocks::PutU32(send.data(), ss::kHighTable, high.table);
        blocks::PutU32(send.data(), ss::kLowTable, low.table);
        return Request(blocks::kSendShadingData, send);
    }

    // StartScan, then ReadImageData until every line is in, each read as
    // large as the buffer allows; lines located as the data source does.
    uint16_t Scan(Block& image, uint32_t bufferLines = 7) {
        Block start(blocks::kStartScanSize);
        if (uint16_t status = Request(blocks::kStartScan, start)) return status;
        const uint16_t lineBytes = blocks::GetU16(start.data(), blocks::startscan::kBytesPerLine);
        const uint16_t lines = blocks::GetU16(start.data(), blocks::startscan::kLines);
        image.clear();
        if (lines == 0) return 0;
        const DescribedBuffer buffer = Describe(uint32_t{lineBytes} * bufferLines + lineBytes / 2, lineBytes, Trim::kCommon);
        const uint32_t linesPerBuffer = buffer.count * buffer.linesPerSegment;
        for (uint32_t done = 0; done < lines;) {
            const uint16_t count = static_cast<uint16_t>(std::min<uint32_t>(lines - done, linesPerBuffer));
            Block read = ReadBlock(lineBytes, count, static_cast<uint16_t>(done), buffer);
            if (uint16_t status = Request(blocks::kReadImageData, read)) return status;
            for (uint32_t line = 0; line < count; ++line) {
                const uint8_t* at = LineAt(buffer, line, lineBytes);
                image.insert(image.end(), at, at + lineBytes);
            }
            done += count;
        }
        return 0;
    }

    // A read record as the data source lays it out: the descriptor table
    // copied into the record at 96, its count at 44.
    Block ReadBlock(uint16_t lineBytes, uint16_t lines, uint16_t done, const DescribedBuffer& buffer) {
        namespace rd = blocks::readdata;
        Block read(blocks::kReadDataRecordSize);
        blocks::PutU16(read.data(), rd::kBytesPerLine, lineBytes);
        blocks::PutU16(read.data(), rd::kLines, lines);
        blocks::PutU32(read.data(), rd::kBytes, uint32_t{lines} * lineBytes);
        blocks::PutU16(read.data(), rd::kLinesDone, done);
        blocks::PutU16(read.data(), rd::kDescriptorCount, buffer.count);
        blocks::PutU16(read.data(), rd::kRecordCount, buffer.count);
        std::copy_n(arena.At(buffer.table), size_t{buffer.count} * blocks::kDescriptorSize,
                    read.data() + rd::kRecordTable);
        return read;
    }

    // The address of line `line` of a read, as the data source's line locator finds it.
    uint8_t* LineAt(const DescribedBuffer& buffer, uint32_t line, uint32_t lineBytes) {
        const uint32_t segment = (line / buffer.linesPerSegment) % buffer.count;
        return arena.At(buffer.segmentAddresses[segment]) + (line % buffer.linesPerSegment) * lineBytes;
    }

    std::vector<uint8_t> Expected() {
        const sim::ScanSession& s = state.session;
        return sim::ExpectedPixels(state.config, state.bed, s.parameters, s.tone, s.calibration);
    }

    Arena arena;
    sim::ScannerState state;
};

// A 24-bit BMP of one colour per column band: `columns` colours across, `rows` high.
inline std::vector<uint8_t> MakeBmp(const std::vector<std::array<uint8_t, 3>>& columns, uint32_t rows,
                                    bool topDown = false) {
    const uint32_t width = static_cast<uint32_t>(columns.size());
    const uint32_t stride = (width * 3 + 3) & ~3u;
    std::vector<uint8_t> bmp(54 + size_t{stride} * rows, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    blocks::PutU32(bmp.data(), 2, static_cast<uint32_t>(bmp.size()));
    blocks::PutU32(bmp.data(), 10, 54);
    blocks::PutU32(bmp.data(), 14, 40);
    blocks::PutU32(bmp.data(), 18, width);
    blocks::PutU32(bmp.data(), 22, topDown ? 0u - rows : rows);
    blocks::PutU16(bmp.data(), 26, 1);
    blocks::PutU16(bmp.data(), 28, 24);
    for (uint32_t y = 0; y < rows; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* p = bmp.data() + 54 + size_t{y} * stride + 3 * x;
            p[0] = columns[x][2];  // blue, green, red
            p[1] = columns[x][1];
            p[2] = columns[x][0];
        }
    }
    return bmp;
}

}  // namespace simtest

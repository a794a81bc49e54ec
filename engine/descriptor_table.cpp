#include "engine/descriptor_table.h"

#include <algorithm>

#include "device/request_blocks.h"

namespace descriptors {
namespace {

constexpr uint32_t kMaxLinesHeld = 32767;

const uint8_t* Entry(const uint8_t* table, uint32_t index) { return table + index * blocks::kDescriptorSize; }
uint8_t* Entry(uint8_t* table, uint32_t index) { return table + index * blocks::kDescriptorSize; }

}  // namespace

bool InsideBuffer(const uint8_t* table, uint32_t count, uint32_t bufferAddress, uint32_t bufferSize) {
    if (table == nullptr || count == 0 || count > blocks::kMaxDescriptors) return false;
    const uint64_t end = uint64_t{bufferAddress} + bufferSize;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t address = blocks::GetU32(Entry(table, i), blocks::descriptor::kAddress);
        const uint64_t length = blocks::GetU32(Entry(table, i), blocks::descriptor::kLength);
        if (address < bufferAddress || address + length > end) return false;
    }
    return true;
}

uint64_t DescribedBytes(const uint8_t* table, uint32_t count) {
    uint64_t total = 0;
    for (uint32_t i = 0; i < count; ++i) total += blocks::GetU32(Entry(table, i), blocks::descriptor::kLength);
    return total;
}

uint32_t TrimToWholeLines(uint8_t* table, uint32_t count, uint16_t lineBytes) {
    if (lineBytes == 0) return 0;
    uint32_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t* entry = Entry(table, i);
        const uint32_t lines = std::min(blocks::GetU32(entry, blocks::descriptor::kLength) / lineBytes, kMaxLinesHeld);
        if (lines == 0) return 0;
        blocks::PutU32(entry, blocks::descriptor::kLength, lines * lineBytes);
        blocks::PutU16(entry, blocks::descriptor::kLines, static_cast<uint16_t>(lines));
        total += lines;
    }
    return total;
}

bool GatherLines(const uint8_t* buffer, uint32_t bufferAddress, uint32_t bufferSize, const uint8_t* table,
                 uint32_t count, uint16_t lineBytes, uint32_t lines, std::vector<uint8_t>& out) {
    out.clear();
    out.reserve(static_cast<size_t>(lines) * lineBytes);
    uint32_t gathered = 0;
    for (uint32_t i = 0; i < count && gathered < lines; ++i) {
        const uint8_t* entry = Entry(table, i);
        const uint64_t address = blocks::GetU32(entry, blocks::descriptor::kAddress);
        const uint32_t take = std::min<uint32_t>(blocks::GetU16(entry, blocks::descriptor::kLines), lines - gathered);
        const uint64_t bytes = uint64_t{take} * lineBytes;
        if (address < bufferAddress || address - bufferAddress + bytes > bufferSize) return false;
        const uint8_t* first = buffer + (address - bufferAddress);
        out.insert(out.end(), first, first + bytes);
        gathered += take;
    }
    return gathered == lines;
}

}  // namespace descriptors

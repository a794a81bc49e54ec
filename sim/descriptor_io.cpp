#include "sim/descriptor_io.h"

#include <algorithm>

#include "device/request_blocks.h"

namespace sim {

uint8_t* Resolve(const MemoryAccess& memory, uint32_t address, uint32_t length) {
    if (memory.resolve == nullptr || address == 0) return nullptr;
    return memory.resolve(memory.context, address, length);
}

bool ReadSegments(const MemoryAccess& memory, uint32_t tableAddress, uint32_t count,
                  std::vector<Segment>& segments) {
    segments.clear();
    if (count > blocks::kMaxDescriptors) return false;
    if (count == 0) return true;
    const uint8_t* table = Resolve(memory, tableAddress, count * blocks::kDescriptorSize);
    return table != nullptr && ParseSegments(table, count, segments);
}

bool ParseSegments(const uint8_t* table, uint32_t count, std::vector<Segment>& segments) {
    segments.clear();
    if (count > blocks::kMaxDescriptors) return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = table + i * blocks::kDescriptorSize;
        Segment segment;
        segment.length = blocks::GetU32(entry, blocks::descriptor::kLength);
        segment.linesHeld = blocks::GetU16(entry, blocks::descriptor::kLines);
        segment.address = blocks::GetU32(entry, blocks::descriptor::kAddress);
        segments.push_back(segment);
    }
    return true;
}

bool PlaceLines(const MemoryAccess& memory, const std::vector<Segment>& segments, uint32_t lineBytes,
                uint32_t lines, bool useLinesHeld, std::vector<uint8_t*>& places) {
    places.clear();
    if (lineBytes == 0) return lines == 0;
    for (const Segment& segment : segments) {
        if (places.size() == lines) break;
        uint32_t held = segment.length / lineBytes;
        if (useLinesHeld) held = std::min<uint32_t>(held, segment.linesHeld);
        held = std::min<uint32_t>(held, lines - static_cast<uint32_t>(places.size()));
        if (held == 0) continue;
        uint8_t* base = Resolve(memory, segment.address, held * lineBytes);
        if (base == nullptr) return false;
        for (uint32_t i = 0; i < held; ++i) places.push_back(base + i * lineBytes);
    }
    return places.size() == lines;
}

bool GatherBytes(const MemoryAccess& memory, const std::vector<Segment>& segments, uint32_t bytes,
                 std::vector<uint8_t>& stream) {
    stream.clear();
    for (const Segment& segment : segments) {
        const uint32_t take = std::min<uint32_t>(segment.length, bytes - static_cast<uint32_t>(stream.size()));
        if (take == 0) continue;
        const uint8_t* data = Resolve(memory, segment.address, take);
        if (data == nullptr) return false;
        stream.insert(stream.end(), data, data + take);
        if (stream.size() == bytes) break;
    }
    return stream.size() == bytes;
}

}  // namespace sim

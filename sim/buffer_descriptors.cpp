#include "sim/buffer_descriptors.h"

#include <algorithm>
#include <cstring>

#include "device/request_blocks.h"

namespace sim {

uint16_t SplitBuffer(uint32_t address, uint32_t bytes, uint16_t lineBytes, uint32_t segments,
                     uint8_t* table) {
    if (table == nullptr || bytes == 0) return 0;
    uint32_t count = std::clamp<uint32_t>(segments, 1, blocks::kMaxDescriptors);
    const uint32_t lines = lineBytes > 0 ? bytes / lineBytes : 0;
    if (lineBytes > 0) count = std::min(count, std::max<uint32_t>(1, lines));
    uint32_t offset = 0;
    for (uint32_t i = 0; i < count; ++i) {
        // Whole lines, spread as evenly as they go; the bytes beyond the last
        // whole line stay with the last segment.
        uint32_t length = lines > 0 ? (lines / count + (i < lines % count ? 1 : 0)) * lineBytes : bytes / count;
        if (i + 1 == count) length = bytes - offset;
        uint8_t* entry = table + i * blocks::kDescriptorSize;
        std::memset(entry, 0, blocks::kDescriptorSize);
        blocks::PutU32(entry, blocks::descriptor::kLength, length);
        blocks::PutU32(entry, blocks::descriptor::kAddress, address + offset);
        offset += length;
    }
    return static_cast<uint16_t>(count);
}

uint16_t BufAddr(const ScannerConfig& config, uint32_t address, uint32_t bytes, uint8_t* table,
                 uint16_t lineBytes) {
    const uint16_t count = SplitBuffer(address, bytes, lineBytes, config.segments, table);
    return config.forceBufAddrCount ? config.bufAddrCount : count;
}

}  // namespace sim

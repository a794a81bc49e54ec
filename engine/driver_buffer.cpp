#include "engine/driver_buffer.h"

#include "engine/buffer_sizing.h"
#include "engine/descriptor_table.h"

bool AllocateDriverBuffer(DriverBuffer& buffer, uint32_t firstSize, uint32_t lineBytes, uint32_t needed,
                          bool defaultDriver) {
    FreeDriverBuffer(buffer);
    for (uint32_t size = firstSize; size != 0 && size >= needed;
         size = ShrunkBufferSize(size, lineBytes, defaultDriver)) {
        // The table follows the bytes, on a 4-byte boundary.
        const uint32_t tableOffset = (size + 3u) & ~3u;
        uint8_t* memory = AllocateDriverMemory(size_t{tableOffset} + kDescriptorTableBytes);
        if (memory == nullptr) continue;
        buffer.bytes = memory;
        buffer.size = size;
        buffer.table = memory + tableOffset;
        return true;
    }
    return false;
}

bool DescribeDriverBuffer(DriverBuffer& buffer, uint16_t lineBytes, BufAddrFn bufAddr) {
    buffer.count = 0;
    if (buffer.bytes == nullptr || bufAddr == nullptr) return false;
    const uint16_t count = bufAddr(buffer.bytes, buffer.size, buffer.table, lineBytes);
    if (!descriptors::InsideBuffer(buffer.table, count, BlockAddress(buffer.bytes), buffer.size)) return false;
    buffer.count = count;
    return true;
}

void FreeDriverBuffer(DriverBuffer& buffer) {
    FreeDriverMemory(buffer.bytes);
    buffer = DriverBuffer{};
}

uint8_t* DescribedBytesAt(const DriverBuffer& buffer, const uint8_t* entry) {
    return buffer.bytes + (blocks::GetU32(entry, blocks::descriptor::kAddress) - BlockAddress(buffer.bytes));
}

#include "engine/driver_buffer.h"

#include "device/device.h"
#include "engine/buffer_sizing.h"
#include "engine/descriptor_table.h"

uint32_t AddressOf(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

bool AllocateDriverBuffer(DriverBuffer& buffer, uint32_t firstSize, uint32_t lineBytes, uint32_t needed) {
    FreeDriverBuffer(buffer);
    for (uint32_t size = firstSize; size != 0 && size >= needed;
         size = ShrunkBufferSize(size, lineBytes, g_device.defaultDriver)) {
        HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size);
        if (handle == nullptr) continue;
        auto* bytes = static_cast<uint8_t*>(GlobalLock(handle));
        if (bytes == nullptr) {
            GlobalFree(handle);
            continue;
        }
        buffer.handle = handle;
        buffer.bytes = bytes;
        buffer.size = size;
        return true;
    }
    return false;
}

bool DescribeDriverBuffer(DriverBuffer& buffer, uint16_t lineBytes) {
    buffer.count = 0;
    if (buffer.bytes == nullptr || g_device.bufAddr == nullptr) return false;
    const uint16_t count = g_device.bufAddr(buffer.bytes, buffer.size, buffer.table, lineBytes);
    if (!descriptors::InsideBuffer(buffer.table, count, AddressOf(buffer.bytes), buffer.size)) return false;
    buffer.count = count;
    return true;
}

void FreeDriverBuffer(DriverBuffer& buffer) {
    if (buffer.handle != nullptr) {
        GlobalUnlock(buffer.handle);
        GlobalFree(buffer.handle);
    }
    buffer = DriverBuffer{};
}

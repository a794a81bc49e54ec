// The one scan buffer of an image, shared with the driver through its
// descriptor table, which the read request carries.
#include <cstring>

#include "device/device.h"
#include "device/remote_messages.h"
#include "engine/buffer_sizing.h"
#include "engine/job_state.h"
#include "engine/read_machinery.h"
#include "resources/resource_ids.h"
#include "session/session.h"

namespace {

// Every descriptor is cut to the same number of whole lines, so that a line's
// descriptor follows from its number. False when a descriptor holds no line.
bool TrimToCommonLines(DriverBuffer& buffer) {
    const uint16_t lineBytes = g_job.bytesPerScanLine;
    uint32_t lines = 32767;
    // A remote read arrives through the staging buffer, which no descriptor
    // may exceed.
    if (g_device.remoteMode) lines = remote::kStagingBytes / lineBytes;
    for (uint16_t i = 0; i < buffer.count; ++i) {
        uint32_t length = blocks::GetU32(buffer.table + i * blocks::kDescriptorSize, blocks::descriptor::kLength);
        if (length / lineBytes < lines) lines = length / lineBytes;
    }
    if (lines == 0) return false;
    for (uint16_t i = 0; i < buffer.count; ++i) {
        uint8_t* entry = buffer.table + i * blocks::kDescriptorSize;
        blocks::PutU32(entry, blocks::descriptor::kLength, lines * lineBytes);
        blocks::PutU16(entry, blocks::descriptor::kLines, static_cast<uint16_t>(lines));
    }
    g_job.segmentCount = buffer.count;
    g_job.linesPerSegment = static_cast<uint16_t>(lines);
    uint32_t perBuffer = uint32_t{buffer.count} * lines;
    g_job.linesPerBuffer = static_cast<uint16_t>(perBuffer > 0xFFFF ? 0xFFFF : perBuffer);
    return true;
}

}  // namespace

bool AllocateScanBuffer() {
    FreeScanBuffer();
    const uint16_t lineBytes = g_job.bytesPerScanLine;
    uint32_t size = FirstBufferSize(lineBytes, g_job.lines, g_device.defaultDriver, kScanBufferCap);
    if (!AllocateDriverBuffer(g_job.scan, size, lineBytes, lineBytes, g_device.defaultDriver)) {
        ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        StopAndWaitIdle();
        return false;
    }
    if (!DescribeDriverBuffer(g_job.scan, lineBytes, g_device.bufAddr) || !TrimToCommonLines(g_job.scan)) {
        FreeScanBuffer();
        ScanFailed(TWCC_OPERATIONERROR, MSG_TRANSFER_FAILED);
        StopAndWaitIdle();
        return false;
    }
    // The record carries its own copy of the table at 96, and +28 points
    // there: a driver may read the record as laid out or follow the address.
    uint8_t* block = g_device.blocks.readData;
    uint8_t* table = block + blocks::readdata::kRecordTable;
    std::memcpy(table, g_job.scan.table, size_t{g_job.segmentCount} * blocks::kDescriptorSize);
    blocks::PutU16(block, blocks::readdata::kRecordCount, g_job.segmentCount);
    blocks::PutU16(block, blocks::readdata::kDescriptorCount, g_job.segmentCount);
    blocks::PutU32(block, blocks::readdata::kTable, BlockAddress(table));
    return true;
}

void FreeScanBuffer() {
    FreeDriverBuffer(g_job.scan);
    g_job.currentLine = nullptr;
}

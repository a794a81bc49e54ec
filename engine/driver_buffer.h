// A buffer shared with the scanner driver: driver memory holding the bytes
// the driver fills and, after them, the descriptor table that the driver's
// BUF_ADDR made of them. Both addresses travel in request blocks.
#pragma once

#include <cstdint>

#include "device/driver_entries.h"
#include "device/driver_memory.h"
#include "device/request_blocks.h"

struct DriverBuffer {
    uint8_t* bytes = nullptr;  // `size` bytes; null while nothing is held
    uint32_t size = 0;
    uint8_t* table = nullptr;  // room for the largest descriptor table, after the bytes
    uint16_t count = 0;        // descriptors in `table`
};

constexpr uint32_t kDescriptorTableBytes = blocks::kMaxDescriptors * blocks::kDescriptorSize;

// Allocates `firstSize` bytes, retrying smaller by the shrink rule of the
// driver's buffers (one `lineBytes` less with the default driver, 128 KB less
// otherwise). False, with nothing held, when no size down to the rule's
// floor and at least `needed` bytes can be had.
bool AllocateDriverBuffer(DriverBuffer& buffer, uint32_t firstSize, uint32_t lineBytes, uint32_t needed,
                          bool defaultDriver);

// Has the driver describe the buffer with its BUF_ADDR. False when the count
// is 0 or above 16 or a descriptor reaches outside the buffer.
bool DescribeDriverBuffer(DriverBuffer& buffer, uint16_t lineBytes, BufAddrFn bufAddr);

// Frees the buffer; it is cleared, so a second call does nothing.
void FreeDriverBuffer(DriverBuffer& buffer);

// Where the descriptor at `entry` of the buffer's table points, as a pointer
// into the buffer's bytes (the table was checked to lie inside them).
uint8_t* DescribedBytesAt(const DriverBuffer& buffer, const uint8_t* entry);

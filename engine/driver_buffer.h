// A buffer shared with the scanner driver: shareable global memory, locked
// for as long as the driver may reach it, and the descriptor table that the
// driver's BUF_ADDR made of it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "device/request_blocks.h"

struct DriverBuffer {
    HGLOBAL handle = nullptr;
    uint8_t* bytes = nullptr;  // locked while the handle is held
    uint32_t size = 0;
    uint8_t table[blocks::kMaxDescriptors * blocks::kDescriptorSize] = {};
    uint16_t count = 0;  // descriptors in `table`
};

// Allocates `firstSize` bytes, retrying smaller by the shrink rule of the
// driver's buffers (one `lineBytes` less with the default driver, 128 KB less
// otherwise). False, with nothing held, when no size down to the rule's
// floor and at least `needed` bytes can be had.
bool AllocateDriverBuffer(DriverBuffer& buffer, uint32_t firstSize, uint32_t lineBytes, uint32_t needed);

// Has the driver describe the buffer with BUF_ADDR. False when the count is 0
// or above 16 or a descriptor reaches outside the buffer.
bool DescribeDriverBuffer(DriverBuffer& buffer, uint16_t lineBytes);

// Unlocks and frees the buffer; the handle is cleared, so a second call does
// nothing.
void FreeDriverBuffer(DriverBuffer& buffer);

// The buffer's address or its table's, as a request block carries it.
uint32_t AddressOf(const void* pointer);

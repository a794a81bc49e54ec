// Checks and uses of the descriptor tables a driver's BUF_ADDR fills for a
// buffer: the driver is outside the system, so its count, addresses and
// lengths are checked against the buffer before anything relies on them.
// Addresses are the opaque 32-bit numbers of the request blocks.
#pragma once

#include <cstdint>
#include <vector>

namespace descriptors {

// True when `count` is 1..16 and every descriptor of `table` lies inside the
// `bufferSize` bytes at `bufferAddress`.
bool InsideBuffer(const uint8_t* table, uint32_t count, uint32_t bufferAddress, uint32_t bufferSize);

// The bytes all `count` descriptors describe together.
uint64_t DescribedBytes(const uint8_t* table, uint32_t count);

// Cuts each descriptor to whole lines of `lineBytes` (at most 32767 lines)
// and writes its line count at +4. Returns the lines held by the whole table,
// or 0 when `lineBytes` is 0 or a descriptor holds no line.
uint32_t TrimToWholeLines(uint8_t* table, uint32_t count, uint16_t lineBytes);

// Collects the first `lines` lines as the driver placed them: each descriptor
// holds its line count of lines from its address on. `buffer` holds the
// `bufferSize` bytes at `bufferAddress`. False when the table holds fewer
// lines or a line lies outside the buffer.
bool GatherLines(const uint8_t* buffer, uint32_t bufferAddress, uint32_t bufferSize, const uint8_t* table,
                 uint32_t count, uint16_t lineBytes, uint32_t lines, std::vector<uint8_t>& out);

}  // namespace descriptors

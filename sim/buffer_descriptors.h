// BUF_ADDR of the simulated driver: describes a caller's buffer as a table of
// 20-byte segment descriptors (length at +0, address at +8).
#pragma once

#include <cstdint>

#include "sim/scanner_config.h"

namespace sim {

// Splits `bytes` bytes at `address` into at most `segments` (1..16)
// consecutive segments inside the buffer, each holding whole lines of
// `lineBytes` spread as evenly as they go; the bytes beyond the last whole
// line stay with the last segment, so its length need not be whole lines.
// Without a line length the segments are equal. `table` has room for 16
// descriptors. Returns the count written: 0 for an empty buffer or no table.
uint16_t SplitBuffer(uint32_t address, uint32_t bytes, uint16_t lineBytes, uint32_t segments,
                     uint8_t* table);

// SplitBuffer with the configured segment count; returns the configured
// BufAddrCount instead of the real count when the configuration forces one.
uint16_t BufAddr(const ScannerConfig& config, uint32_t address, uint32_t bytes, uint8_t* table,
                 uint16_t lineBytes);

}  // namespace sim

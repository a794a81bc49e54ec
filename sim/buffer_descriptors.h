// BUF_ADDR of the simulated driver: describes a caller's buffer as a table of
// 20-byte segment descriptors (length at +0, address at +8).
#pragma once

#include <cstdint>

#include "sim/scanner_config.h"

namespace sim {

// Splits `bytes` bytes at `address` into at most `segments` (1..16) equal
// segments that lie inside the buffer, each long enough for one line of
// `lineBytes` when the buffer holds that many lines; the lengths are not cut
// to whole lines. `table` has room for 16 descriptors. Returns the count
// written: 0 for an empty buffer or no table.
uint16_t SplitBuffer(uint32_t address, uint32_t bytes, uint16_t lineBytes, uint32_t segments,
                     uint8_t* table);

// SplitBuffer with the configured segment count; returns the configured
// BufAddrCount instead of the real count when the configuration forces one.
uint16_t BufAddr(const ScannerConfig& config, uint32_t address, uint32_t bytes, uint8_t* table,
                 uint16_t lineBytes);

}  // namespace sim

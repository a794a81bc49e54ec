// Sizes of the buffers shared with the scanner driver: one buffer of whole
// lines, rounded the way drivers other than the default one expect, and the
// shrink step used when the memory cannot be had.
#pragma once

#include <cstdint>

constexpr uint32_t kScanBufferCap = 0x200000;     // 2 MB: the scan buffer
constexpr uint32_t kShadingBufferCap = 0x400000;  // 4 MB: the shading buffers
constexpr uint32_t kDriverGranule = 0x20000;      // 128 KB

// The first size to try for `lineBytes` x `lines` bytes. With the default
// driver: the larger of the image and one line, at most `cap`. With another
// driver: at least 128 KB, at most `cap`, and a size above 128 KB becomes
// size + 128 KB rounded down to a multiple of 128 KB.
uint32_t FirstBufferSize(uint32_t lineBytes, uint32_t lines, bool defaultDriver, uint32_t cap);

// The next smaller size after an allocation failed, or 0 when there is none:
// one line less with the default driver (never below one line), 128 KB less
// with another driver (never below 128 KB).
uint32_t ShrunkBufferSize(uint32_t size, uint32_t lineBytes, bool defaultDriver);

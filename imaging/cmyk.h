// CMYK output: every RGB pixel becomes cyan, magenta, yellow and black through
// a 17 x 17 x 17 table of four-byte nodes read from "cmyk.tab" or
// "cmykpp60.tab". The tables hold ink amounts (0 no ink, 255 full ink).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/grid_interpolation.h"

namespace colour {

constexpr size_t kCmykTableSize = kGridNodeCount * 4;  // 19652

struct CmykTable {
    bool loaded = false;
    GridTable grid;  // C, M, Y, K
    GridAxes axes;   // red, green, blue levels straight into the grid
};

// The table file in the installation directory ("\TWAIN_32\KVSC_A3" under the
// Windows directory for the 32-bit source): "\cmykpp60.tab" for the
// picture-publishing host (text 66), "\cmyk.tab" for every other host.
std::string CmykTablePath(const std::string& installDir, bool pictureHost);

// Takes the bytes of a whole table file. A file of any other length than
// 19652 bytes is refused and leaves the table unloaded.
bool ParseCmykTable(const uint8_t* bytes, size_t size, CmykTable& table);

// Frees any table held, then reads and parses the file at path.
bool LoadCmykTable(const std::string& path, CmykTable& table);

void FreeCmykTable(CmykTable& table);

// Converts inputBytes bytes of RGB pixels (a multiple of 3) at the start of
// buffer, in place, into 4 bytes per pixel: C, M, Y, K at 4p..4p+3. The host
// receives 255 - ink (0 is the darkest, TWAIN's default pixel flavour) unless
// `direct` (the host asked for the other flavour): then the ink amounts.
// False, changing nothing, without a table, for a count that is not a
// multiple of 3, or when the buffer cannot hold 4/3 of the input.
bool ConvertToCmyk(const CmykTable& table, uint8_t* buffer, size_t bufferSize, size_t inputBytes, bool direct);

}  // namespace colour

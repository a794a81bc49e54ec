// A picture of the whole bed from a 24-bit BMP file (INI key BedFile): the
// file is stretched over the bed, so any size works.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct BedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;  // rows top to bottom, red, green, blue per pixel
    bool Empty() const { return width == 0 || height == 0; }
};

// Reads an uncompressed 24-bit BMP (bottom-up or top-down rows). False, with
// the reason in `problem`, for anything else or a file shorter than its
// header says.
bool ParseBmp(const uint8_t* data, size_t size, BedImage& image, std::string& problem);

bool LoadBedImage(const std::string& path, BedImage& image, std::string& problem);

// The picture's column or row under a bed dot of a bed `bedDots` wide or long.
uint32_t ImageCoordinate(uint32_t imageSide, uint32_t dot, uint32_t bedDots);

// Fills `rgb` (red, green, blue per column) from the picture's `row` at `columns`.
void CopyImageRow(const BedImage& image, uint32_t row, const std::vector<uint32_t>& columns, uint8_t* rgb);

}  // namespace sim

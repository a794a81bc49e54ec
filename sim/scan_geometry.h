// Sizes of what the simulated scanner delivers: the optical rate its
// resolution code stands for, the bed in optical units, pixel counts at a
// scan resolution, and the bytes of image and shading lines.
#pragma once

#include <array>
#include <cstdint>

namespace sim {

enum ImageType : uint8_t {
    kLineArt = 0,
    kGrey = 1,
    kGreyColourShaded = 2,  // 8-bit grey, calibrated like colour
    kColour = 3,
    kColour36 = 5,
};

bool IsKnownImageType(uint8_t type);
bool IsColourGroup(uint8_t type);  // types 2, 3, 5; otherwise the grey group (0, 1)

// Optical positions per inch for the four resolution characters: 600, 800 and
// 1200 for "600", "800", "1200"; 1200 for "606"; the model numbers "6000",
// "6060", "8000" stand for the same. Anything else: 1200.
uint32_t OpticalRate(const std::array<char, 4>& resolutionCode);

struct Bed {
    uint32_t width;   // optical units
    uint32_t length;  // optical units
};

// 8.5 x 11.5 inches for the letter-size prefix "KVC-", otherwise 11.7 x 17.0.
Bed BedSize(const std::array<char, 4>& modelPrefix, uint32_t opticalRate);

// Output units across `positions` optical positions at `resolution` dpi, by a
// digital differential analyser that starts at the optical rate and counts one
// unit each time it exceeds it.
uint32_t DdaCount(uint32_t positions, uint32_t resolution, uint32_t opticalRate);

// Bytes of one image line of `pixels` pixels: line art packs 8 per byte, grey
// 1 byte, colour 3, 36-bit colour 6. 0 for an unknown type.
uint32_t ImageLineBytes(uint8_t imageType, uint32_t pixels);

// Bytes of one shading line for `pixels` pixels: a 2-byte (grey) or 6-byte
// (colour) head, then one u16 per sample (three samples per colour pixel).
// The pixel count is capped so that the line fits a u16 field.
uint32_t ShadingLineBytes(bool colourGroup, uint32_t pixels);

}  // namespace sim

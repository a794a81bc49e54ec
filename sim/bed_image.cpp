#include "sim/bed_image.h"

#include <cstdio>
#include <memory>

#include "device/request_blocks.h"

namespace sim {
namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr uint32_t kMaxSide = 30000;  // larger than any useful bed picture

}  // namespace

bool ParseBmp(const uint8_t* data, size_t size, BedImage& image, std::string& problem) {
    if (size < kFileHeader + kInfoHeader || data[0] != 'B' || data[1] != 'M') {
        problem = "not a BMP file";
        return false;
    }
    const uint8_t* info = data + kFileHeader;
    const uint32_t offset = blocks::GetU32(data, 10);
    const uint32_t headerSize = blocks::GetU32(info, 0);
    const int32_t width = static_cast<int32_t>(blocks::GetU32(info, 4));
    const int32_t height = static_cast<int32_t>(blocks::GetU32(info, 8));
    const uint16_t bits = blocks::GetU16(info, 14);
    const uint32_t compression = blocks::GetU32(info, 16);
    if (headerSize < kInfoHeader || bits != 24 || compression != 0) {
        problem = "not an uncompressed 24-bit BMP";
        return false;
    }
    const bool topDown = height < 0;
    const uint32_t w = width > 0 ? static_cast<uint32_t>(width) : 0;
    const uint32_t h = topDown ? 0u - static_cast<uint32_t>(height) : static_cast<uint32_t>(height);
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
        problem = "BMP size out of range";
        return false;
    }
    const size_t stride = (size_t{w} * 3 + 3) & ~size_t{3};
    if (offset > size || (size - offset) / stride < h) {
        problem = "BMP file shorter than its header says";
        return false;
    }
    BedImage result;
    result.width = w;
    result.height = h;
    result.rgb.resize(size_t{w} * h * 3);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = data + offset + stride * (topDown ? y : h - 1 - y);
        uint8_t* out = result.rgb.data() + size_t{y} * w * 3;
        for (uint32_t x = 0; x < w; ++x) {  // BMP pixels are blue, green, red
            out[3 * x] = row[3 * x + 2];
            out[3 * x + 1] = row[3 * x + 1];
            out[3 * x + 2] = row[3 * x];
        }
    }
    image = std::move(result);
    return true;
}

bool LoadBedImage(const std::string& path, BedImage& image, std::string& problem) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        problem = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    return ParseBmp(bytes.data(), bytes.size(), image, problem);
}

uint32_t ImageCoordinate(uint32_t imageSide, uint32_t dot, uint32_t bedDots) {
    const uint64_t coordinate = uint64_t{dot} * imageSide / (bedDots == 0 ? 1 : bedDots);
    return static_cast<uint32_t>(coordinate < imageSide ? coordinate : imageSide - 1);
}

void CopyImageRow(const BedImage& image, uint32_t row, const std::vector<uint32_t>& columns, uint8_t* rgb) {
    const uint8_t* source = image.rgb.data() + size_t{row} * image.width * 3;
    for (size_t x = 0; x < columns.size(); ++x) {
        const uint8_t* pixel = source + size_t{columns[x]} * 3;
        rgb[3 * x] = pixel[0];
        rgb[3 * x + 1] = pixel[1];
        rgb[3 * x + 2] = pixel[2];
    }
}

}  // namespace sim

#include "sim/image_renderer.h"

#include <algorithm>

#include "device/request_blocks.h"
#include "sim/sensor.h"

namespace sim {
namespace {

constexpr uint8_t kNegativeFilm = 2;

// Optical positions (from the bed edge) of the units the analyser counts
// across `span` positions starting at `start`.
std::vector<uint32_t> SampledPositions(uint32_t start, uint32_t span, uint16_t resolution, uint32_t rate) {
    std::vector<uint32_t> positions = DdaPositions(span, resolution, rate);
    for (uint32_t& p : positions) p += start;
    return positions;
}

std::vector<uint32_t> ToBedDots(std::vector<uint32_t> positions, uint32_t rate) {
    for (uint32_t& p : positions) p = static_cast<uint32_t>(uint64_t{p} * kBedDotsPerInch / rate);
    return positions;
}

inline uint32_t Corrected(uint32_t reflectance, uint32_t factor) {
    const uint32_t value = (reflectance * factor) >> 16;
    return value < kFullScale ? value : kFullScale;
}

// Weights of red, green and blue in a grey reading; they add up to 256.
inline uint32_t Luma(uint32_t r, uint32_t g, uint32_t b) { return (77 * r + 151 * g + 28 * b) >> 8; }

void ReadBedRow(ImageRenderer& r, uint32_t line) {
    uint8_t* rgb = r.reflectance.data();
    const uint32_t y = r.rowDots[line];
    if (r.bed != nullptr) {
        CopyImageRow(*r.bed, ImageCoordinate(r.bed->height, y, r.bedRows), r.imageColumns, rgb);
    } else if (r.layout == BedLayout::kDocument) {
        RenderPatternRow(r.pattern, y, r.parameters.source, rgb);
    } else {
        RenderLayoutRow(r.layout, r.pattern.dots, y, rgb);
    }
    if (r.parameters.source == kNegativeFilm) {
        for (uint8_t& v : r.reflectance) v = static_cast<uint8_t>(255 - v);
    }
}

void ColourLine(const ImageRenderer& r, uint8_t* out) {
    const uint8_t* in = r.reflectance.data();
    const uint32_t* f = r.factors.data();
    for (size_t i = 0; i < r.reflectance.size(); i += 3) {
        out[i] = r.lookups[0][Corrected(in[i], f[i])];
        out[i + 1] = r.lookups[1][Corrected(in[i + 1], f[i + 1])];
        out[i + 2] = r.lookups[2][Corrected(in[i + 2], f[i + 2])];
    }
}

void Colour36Line(const ImageRenderer& r, uint8_t* out) {
    const uint8_t* in = r.reflectance.data();
    const uint32_t* f = r.factors.data();
    for (size_t i = 0; i < r.reflectance.size(); ++i) {
        blocks::PutU16(out, 2 * i, static_cast<uint16_t>(Corrected(in[i], f[i])));
    }
}

// Type 2: each channel corrected as in colour, then mixed to grey.
void ColourShadedGreyLine(const ImageRenderer& r, uint8_t* out) {
    const uint8_t* in = r.reflectance.data();
    const uint32_t* f = r.factors.data();
    for (size_t x = 0; x < r.area.pixels; ++x) {
        const size_t i = 3 * x;
        out[x] = r.lookups[0][Luma(Corrected(in[i], f[i]), Corrected(in[i + 1], f[i + 1]),
                                   Corrected(in[i + 2], f[i + 2]))];
    }
}

// Types 0 and 1: the mono channel reads the grey of the bed.
void GreyLine(const ImageRenderer& r, uint8_t* out) {
    const uint8_t* in = r.reflectance.data();
    const uint32_t* f = r.factors.data();
    for (size_t x = 0; x < r.area.pixels; ++x) {
        const size_t i = 3 * x;
        out[x] = r.lookups[0][Corrected(Luma(in[i], in[i + 1], in[i + 2]), f[x])];
    }
}

void LineArtLine(const ImageRenderer& r, uint8_t* out) {
    const uint8_t* in = r.reflectance.data();
    const uint32_t* f = r.factors.data();
    for (size_t byte = 0; byte < r.area.lineBytes; ++byte) out[byte] = 0;
    // Only whole bytes are sent: the pixels of a partial last byte are dropped.
    const size_t sent = std::min<size_t>(r.area.pixels, size_t{r.area.lineBytes} * 8);
    for (size_t x = 0; x < sent; ++x) {
        const size_t i = 3 * x;
        const uint8_t toned = r.lookups[0][Corrected(Luma(in[i], in[i + 1], in[i + 2]), f[x])];
        if (toned >= r.threshold) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
}

}  // namespace

ImageRenderer PrepareRenderer(const ScannerConfig& config, const BedImage& bed, const ScanParameters& parameters,
                              const ToneTables& tone, const Calibration& calibration) {
    ImageRenderer r;
    const uint32_t rate = ConfiguredRate(config);
    const Bed bedSize = ConfiguredBed(config);
    r.bed = bed.Empty() ? nullptr : &bed;
    r.layout = config.layout;
    r.parameters = parameters;
    r.area = AreaOf(config, parameters);
    r.bedColumns = static_cast<uint32_t>(uint64_t{bedSize.width} * kBedDotsPerInch / rate);
    r.bedRows = static_cast<uint32_t>(uint64_t{bedSize.length} * kBedDotsPerInch / rate);

    const std::vector<uint32_t> columns =
        SampledPositions(r.area.left, r.area.across, parameters.resolution, rate);
    std::vector<uint32_t> columnDots = ToBedDots(columns, rate);
    r.rowDots = ToBedDots(SampledPositions(r.area.top, r.area.down, parameters.resolution, rate), rate);
    if (r.bed != nullptr) {
        for (uint32_t dot : columnDots) r.imageColumns.push_back(ImageCoordinate(bed.width, dot, r.bedColumns));
    } else {
        r.pattern = PreparePattern(std::move(columnDots));
    }
    r.reflectance.resize(size_t{r.area.pixels} * 3);

    const bool colourGroup = IsColourGroup(parameters.imageType);
    if (colourGroup) {
        r.factors.resize(size_t{r.area.pixels} * 3);
        for (uint32_t c = kRed; c <= kBlue; ++c) {
            const std::vector<uint32_t> f = ColumnFactors(config, calibration, c, parameters.resolution, columns);
            for (size_t x = 0; x < f.size(); ++x) r.factors[3 * x + c] = f[x];
        }
    } else {
        r.factors = ColumnFactors(config, calibration, kMono, parameters.resolution, columns);
    }
    const bool colourScan = parameters.imageType == kColour;
    for (uint32_t c = 0; c < r.lookups.size(); ++c) {
        r.lookups[c] = MakeToneLookup(tone, ToneRecordFor(tone, colourScan, c));
    }
    r.threshold = tone.threshold;
    return r;
}

void RenderLine(ImageRenderer& r, uint32_t line, uint8_t* out) {
    ReadBedRow(r, line);
    switch (r.parameters.imageType) {
        case kLineArt:
            LineArtLine(r, out);
            break;
        case kGrey:
            GreyLine(r, out);
            break;
        case kGreyColourShaded:
            ColourShadedGreyLine(r, out);
            break;
        case kColour:
            ColourLine(r, out);
            break;
        case kColour36:
            Colour36Line(r, out);
            break;
        default:
            break;
    }
}

std::vector<uint8_t> ExpectedPixels(const ScannerConfig& config, const BedImage& bed,
                                    const ScanParameters& parameters, const ToneTables& tone,
                                    const Calibration& calibration) {
    ImageRenderer renderer = PrepareRenderer(config, bed, parameters, tone, calibration);
    const size_t lineBytes = renderer.area.lineBytes;
    std::vector<uint8_t> image(lineBytes * renderer.area.lines);
    for (uint32_t line = 0; line < renderer.area.lines; ++line) {
        RenderLine(renderer, line, image.data() + line * lineBytes);
    }
    return image;
}

}  // namespace sim

#include "engine/resample.h"

#include <cstring>
#include <new>
#include <utility>

#include "settings/scan_settings.h"

namespace resample {

namespace {

uint8_t Mid(unsigned a, unsigned b) { return static_cast<uint8_t>((a + b) >> 1); }

// `n` thirds of the way from `from` to `to`, the third truncated toward zero.
uint8_t Third(int from, int to, int n) { return static_cast<uint8_t>(from + n * ((to - from) / 3)); }

// Every source byte of a line-art row as `factor` output bytes, each bit
// repeated `factor` times, most significant bit first.
struct BitRepeatTable {
    uint8_t bytes[256][8];
};

constexpr BitRepeatTable MakeBitRepeatTable(int factor) {
    BitRepeatTable table{};
    for (int value = 0; value < 256; ++value)
        for (int out = 0; out < 8 * factor; ++out)
            if (value & (0x80 >> (out / factor)))
                table.bytes[value][out / 8] |= static_cast<uint8_t>(0x80 >> (out % 8));
    return table;
}

constexpr BitRepeatTable kRepeat2 = MakeBitRepeatTable(2);
constexpr BitRepeatTable kRepeat4 = MakeBitRepeatTable(4);
constexpr BitRepeatTable kRepeat6 = MakeBitRepeatTable(6);
constexpr BitRepeatTable kRepeat8 = MakeBitRepeatTable(8);

// The values of a pixel's block on a grid of F + 1 points each way: the
// pixel at [0][0], its right neighbour at [0][F], the pixel below at [F][0]
// and the one below right at [F][F]. Row F and column F belong to the
// neighbouring blocks and are not delivered. Each grid point holds N lanes:
// N neighbouring bytes of the row (pixels, or channels of colour pixels) are
// worked on together in loops of a fixed count that the compiler vectorises.
template <int F, size_t N>
struct Grid {
    uint8_t v[F + 1][F + 1][N];
};

template <size_t N>
void MidLanes(uint8_t* __restrict out, const uint8_t* a, const uint8_t* b) {
    for (size_t i = 0; i < N; ++i) out[i] = Mid(a[i], b[i]);
}

template <size_t N>
void ThirdLanes(uint8_t* __restrict out, const uint8_t* from, const uint8_t* to, int n) {
    for (size_t i = 0; i < N; ++i) out[i] = Third(from[i], to[i], n);
}

// Factors 2, 4 and 8: each square of the grid gets the midpoints of its top,
// left, bottom and right edges and of its diagonal from the top-left to the
// bottom-right corner; then the same for the four squares of half the size.
// At factor 2 that is P, (P + R) >> 1 over (P + B) >> 1, (P + D) >> 1. Edges
// shared by two squares get the same value from both.
template <int F, size_t N>
void FillByHalving(Grid<F, N>& g) {
    auto& v = g.v;
    for (int s = F; s > 1; s /= 2) {
        const int h = s / 2;
        for (int j = 0; j < F; j += s)
            for (int k = 0; k < F; k += s) {
                MidLanes<N>(v[j][k + h], v[j][k], v[j][k + s]);
                MidLanes<N>(v[j + h][k], v[j][k], v[j + s][k]);
                MidLanes<N>(v[j + h][k + h], v[j][k], v[j + s][k + s]);
                MidLanes<N>(v[j + s][k + h], v[j + s][k], v[j + s][k + s]);
                MidLanes<N>(v[j + h][k + s], v[j][k + s], v[j + s][k + s]);
            }
    }
}

// Factor 6: the middle (position 3) by halving, as at factor 2, and the
// positions between in thirds, first along the rows 0, 3 and 6, then down
// every column.
template <size_t N>
void FillByThirds(Grid<6, N>& g) {
    auto& v = g.v;
    MidLanes<N>(v[0][3], v[0][0], v[0][6]);
    MidLanes<N>(v[6][3], v[6][0], v[6][6]);
    MidLanes<N>(v[3][0], v[0][0], v[6][0]);
    MidLanes<N>(v[3][3], v[0][0], v[6][6]);
    MidLanes<N>(v[3][6], v[0][6], v[6][6]);
    for (int j = 0; j <= 6; j += 3)
        for (int k = 0; k < 6; k += 3) {
            ThirdLanes<N>(v[j][k + 1], v[j][k], v[j][k + 3], 1);
            ThirdLanes<N>(v[j][k + 2], v[j][k], v[j][k + 3], 2);
        }
    for (int k = 0; k < 6; ++k)
        for (int j = 0; j < 6; j += 3) {
            ThirdLanes<N>(v[j + 1][k], v[j][k], v[j + 3][k], 1);
            ThirdLanes<N>(v[j + 2][k], v[j][k], v[j + 3][k], 2);
        }
}

// Writes the first `lanes` lanes of the grid's F x F delivered points into
// the output rows. Grey: the F points of a lane go to F consecutive bytes.
template <int F, size_t N, size_t... K>
void StoreGreyRow(const uint8_t (&row)[F + 1][N], size_t lanes, uint8_t* out, std::index_sequence<K...>) {
    for (size_t i = 0; i < lanes; ++i) ((out[i * F + K] = row[K][i]), ...);
}

// Colour: the F points of a pixel go to F consecutive 3-byte pixels, each
// copied as 4 bytes whose last one the next copy overwrites. After the last
// copy of a chunk it lands in the next chunk or in the block of the row's
// last pixel, both written later; reads stay inside the grid, which has
// points beyond those delivered.
template <int F, size_t N>
void StoreColourRow(const uint8_t (&row)[F + 1][N], size_t lanes, uint8_t* out) {
    for (size_t at = 0; at < lanes; at += 3)
        for (int k = 0; k < F; ++k, out += 3) std::memcpy(out, &row[k][at], 4);
}

template <int F, int BPP, size_t N>
void StoreLanes(const Grid<F, N>& g, size_t lanes, uint8_t* out, size_t outRowBytes, int rows) {
    for (int j = 0; j < rows; ++j, out += outRowBytes) {
        if constexpr (BPP == 3) StoreColourRow<F, N>(g.v[j], lanes, out);
        else if (lanes == N) StoreGreyRow<F, N>(g.v[j], N, out, std::make_index_sequence<F>());
        else StoreGreyRow<F, N>(g.v[j], lanes, out, std::make_index_sequence<F>());
    }
}

using PairEnlarger = void (*)(const uint8_t* upper, const uint8_t* lower, uint32_t pixels, uint8_t* out,
                              size_t outRowBytes);

// The first `rows` of the F output rows of one pairing, grey (BPP 1) or
// colour (BPP 3, each channel on its own).
template <int F, int BPP>
void EnlargePairRows(const uint8_t* upper, const uint8_t* lower, uint32_t pixels, uint8_t* out, size_t outRowBytes,
                     int rows) {
    constexpr size_t N = 32 * BPP;
    Grid<F, N> g{};
    // Every byte but those of the last pixel has a right neighbour.
    const size_t inner = size_t{pixels - 1} * BPP;
    for (size_t at = 0; at < inner; at += N) {
        const size_t count = inner - at < N ? inner - at : N;
        std::memcpy(g.v[0][0], upper + at, count);
        std::memcpy(g.v[0][F], upper + at + BPP, count);
        std::memcpy(g.v[F][0], lower + at, count);
        std::memcpy(g.v[F][F], lower + at + BPP, count);
        if constexpr (F == 6) FillByThirds<N>(g);
        else FillByHalving<F, N>(g);
        StoreLanes<F, BPP, N>(g, count, out + at * F, outRowBytes, rows);
    }
    // The last pixel has no right neighbour: its whole block repeats it.
    uint8_t* block = out + inner * F;
    for (int j = 0; j < rows; ++j, block += outRowBytes)
        for (int k = 0; k < F; ++k)
            for (int c = 0; c < BPP; ++c) block[k * BPP + c] = upper[inner + c];
}

template <int F, int BPP>
void EnlargePair(const uint8_t* upper, const uint8_t* lower, uint32_t pixels, uint8_t* out, size_t outRowBytes) {
    EnlargePairRows<F, BPP>(upper, lower, pixels, out, outRowBytes, F);
}

// Line art: the upper row with every bit repeated F times, F times over.
template <int F>
void EnlargeLineArtPair(const uint8_t* upper, const uint8_t*, uint32_t pixels, uint8_t* out, size_t outRowBytes) {
    static constexpr const BitRepeatTable& table = F == 2 ? kRepeat2 : F == 4 ? kRepeat4 : F == 6 ? kRepeat6 : kRepeat8;
    const size_t rowBytes = (size_t{pixels} + 7) / 8;
    for (size_t i = 0; i < rowBytes; ++i) std::memcpy(out + i * F, table.bytes[upper[i]], F);
    for (int j = 1; j < F; ++j) std::memcpy(out + j * outRowBytes, out, outRowBytes);
}

template <int F>
PairEnlarger EnlargerForFactor(PixelKind kind) {
    switch (kind) {
        case PixelKind::kLineArt: return EnlargeLineArtPair<F>;
        case PixelKind::kGrey: return EnlargePair<F, 1>;
        case PixelKind::kColour: return EnlargePair<F, 3>;
    }
    return nullptr;
}

PairEnlarger EnlargerFor(PixelKind kind, uint32_t factor) {
    switch (factor) {
        case 2: return EnlargerForFactor<2>(kind);
        case 4: return EnlargerForFactor<4>(kind);
        case 6: return EnlargerForFactor<6>(kind);
        case 8: return EnlargerForFactor<8>(kind);
        default: return nullptr;
    }
}

bool Overlap(const uint8_t* a, uint64_t aSize, const uint8_t* b, uint64_t bSize) {
    const auto a0 = reinterpret_cast<uintptr_t>(a), b0 = reinterpret_cast<uintptr_t>(b);
    return a0 < b0 + bSize && b0 < a0 + aSize;
}

// The rate the doubled line is thinned to: num / den of the doubled line,
// at most 1.
struct Rate {
    uint32_t num;
    uint32_t den;
};

Rate ThinningRate(const LineDoubling& doubling) {
    if (doubling.doubled == 0) return {1, 1};
    return {doubling.wanted < doubling.doubled ? doubling.wanted : doubling.doubled, doubling.doubled};
}

uint64_t ThinnedPixels(uint32_t pixels, Rate rate) { return 2 * uint64_t{pixels} * rate.num / rate.den; }

// Calls emit(j, i) for the `width` output pixels j and the doubled pixels i
// they take. The thinning walks the doubled line with an accumulator that
// starts at den: a pixel is dropped while accumulator + num stays below den,
// otherwise it is kept and den is taken off. That keeps pixel 0 and then, as
// the j-th pixel, the one before ceil(j x den / num); this walks those
// positions directly, one step per kept pixel.
template <typename Emit>
void ForEachKeptPixel(Rate rate, uint64_t width, Emit emit) {
    const uint32_t base = rate.den / rate.num, extra = rate.den % rate.num;
    uint64_t next = 0;       // ceil(j x den / num)
    uint32_t remainder = 0;  // next x num - j x den
    for (uint64_t j = 0; j < width; ++j) {
        emit(j, next - (next != 0));
        const bool carry = extra > remainder;
        next += base + carry;
        remainder = remainder + (carry ? rate.num : 0) - extra;
    }
}

// Each pixel followed by the average with its right neighbour; the last
// pixel twice. That is the first output row of a factor-2 enlargement.
template <int BPP>
void DoubleRow(const uint8_t* line, uint32_t pixels, uint8_t* out) {
    EnlargePairRows<2, BPP>(line, line, pixels, out, 0, 1);
}

// The doubled line thinned to `width` pixels. Doubled pixel
// i is pixel i / 2 averaged with itself or, for odd i, with its right
// neighbour (but the last pixel with itself).
template <int BPP>
void ThinDoubledRow(const uint8_t* line, uint32_t pixels, Rate rate, uint64_t width, uint8_t* out) {
    ForEachKeptPixel(rate, width, [&](uint64_t j, uint64_t i) {
        const uint64_t x = i >> 1;
        const uint64_t partner = x + ((i & 1) & (x + 1 < pixels));
        for (int c = 0; c < BPP; ++c) out[j * BPP + c] = Mid(line[x * BPP + c], line[partner * BPP + c]);
    });
}

template <int BPP>
void DoubleAndThin(const uint8_t* line, uint32_t pixels, Rate rate, uint64_t width, uint8_t* out) {
    if (width < 2 * uint64_t{pixels}) return ThinDoubledRow<BPP>(line, pixels, rate, width, out);
    DoubleRow<BPP>(line, pixels, out);
}

uint8_t PixelBit(const uint8_t* line, uint64_t x) { return (line[x >> 3] >> (7 - (x & 7))) & 1; }

// Line art: the kept bits; or every bit doubled (a source byte at a time).
void DoubleAndThinLineArt(const uint8_t* line, uint32_t pixels, Rate rate, uint64_t width, uint8_t* out) {
    const uint64_t doubledPixels = 2 * uint64_t{pixels};
    const uint64_t outBytes = (width + 7) / 8;
    if (width < doubledPixels) {
        unsigned bits = 0;
        ForEachKeptPixel(rate, width, [&](uint64_t j, uint64_t i) {
            bits = bits << 1 | PixelBit(line, i >> 1);
            if ((j & 7) == 7) out[j >> 3] = static_cast<uint8_t>(bits);
        });
        if (width % 8) out[outBytes - 1] = static_cast<uint8_t>(bits << (8 - width % 8));
        return;
    }
    std::memset(out, 0, outBytes);
    const uint64_t doubledBytes = (doubledPixels + 7) / 8;
    for (uint64_t x = 0; x < doubledBytes / 2; ++x) std::memcpy(out + 2 * x, kRepeat2.bytes[line[x]], 2);
    if (doubledBytes % 2) out[doubledBytes - 1] = kRepeat2.bytes[line[doubledBytes / 2]][0];
    if (doubledPixels % 8) out[doubledBytes - 1] &= static_cast<uint8_t>(0xFF00 >> (doubledPixels % 8));
}

}  // namespace

PixelKind PixelKindFor(uint16_t scanMode) {
    if (scanMode == kModeColour) return PixelKind::kColour;
    if (scanMode == kModeLineArt) return PixelKind::kLineArt;
    return PixelKind::kGrey;
}

uint64_t RowBytes(PixelKind kind, uint32_t pixels) {
    switch (kind) {
        case PixelKind::kLineArt: return (uint64_t{pixels} + 7) / 8;
        case PixelKind::kGrey: return pixels;
        case PixelKind::kColour: return 3 * uint64_t{pixels};
    }
    return 0;
}

uint32_t EnlargementFactor(uint16_t dpiScale) { return dpiScale >= 2 && dpiScale <= 4 ? 2u * dpiScale : 2u; }

void ReleaseCarryRow(CarryRow& carry) { std::vector<uint8_t>().swap(carry.bytes); }

EnlargeStatus EnlargeRows(PixelKind kind, uint32_t factor, const SourceRows& source, uint8_t* destination,
                          size_t destinationSize, CarryRow& carry) {
    const PairEnlarger enlarge = EnlargerFor(kind, factor);
    if (!enlarge || !source.data || !destination || source.pixels == 0 || source.rows == 0)
        return EnlargeStatus::kBadArguments;
    const uint64_t rowBytes = RowBytes(kind, source.pixels);
    const uint64_t outRowBytes = rowBytes * factor;
    const uint64_t outRows = uint64_t{source.rows} * factor;
    if (outRows > destinationSize / outRowBytes) return EnlargeStatus::kBadArguments;
    if (Overlap(source.data, rowBytes * source.rows, destination, outRowBytes * outRows))
        return EnlargeStatus::kBadArguments;

    // Sizes fit size_t from here on: the destination holds more than either.
    const size_t rowSize = static_cast<size_t>(rowBytes), outRowSize = static_cast<size_t>(outRowBytes);
    if (carry.bytes.size() != rowSize) {
        try {
            carry.bytes.assign(source.data, source.data + rowSize);
        } catch (const std::bad_alloc&) {
            ReleaseCarryRow(carry);
            return EnlargeStatus::kNoMemory;
        }
    }
    for (uint32_t r = 0; r < source.rows; ++r) {
        const uint8_t* upper = r == 0 ? carry.bytes.data() : source.data + (r - 1) * rowSize;
        enlarge(upper, source.data + r * rowSize, source.pixels, destination + size_t{r} * factor * outRowSize,
                outRowSize);
    }
    std::memcpy(carry.bytes.data(), source.data + (source.rows - 1) * rowSize, rowSize);
    return EnlargeStatus::kDone;
}

std::optional<LineDoubling> LineDoublingFor(uint16_t resolution, uint16_t scaling, bool interpolate,
                                            uint16_t scanResolution) {
    uint32_t wanted = uint32_t{resolution} * scaling;  // hundredths of a dpi
    if (interpolate) wanted /= 2;
    const uint32_t delivered = uint32_t{scanResolution} * 100;
    if (scanResolution == 0 || wanted <= delivered) return std::nullopt;
    return LineDoubling{wanted, 2 * delivered};
}

uint32_t DoubledLinePixels(uint32_t pixels, const LineDoubling& doubling) {
    return static_cast<uint32_t>(ThinnedPixels(pixels, ThinningRate(doubling)));
}

size_t DoubleLine(PixelKind kind, const uint8_t* line, uint32_t pixels, const LineDoubling& doubling,
                  uint8_t* destination, size_t destinationSize) {
    if (!line || !destination || pixels == 0) return 0;
    const Rate rate = ThinningRate(doubling);
    const uint64_t width = ThinnedPixels(pixels, rate);
    const uint64_t bytes = kind == PixelKind::kLineArt ? (width + 7) / 8 : RowBytes(kind, 1) * width;
    if (width == 0 || bytes > destinationSize) return 0;

    switch (kind) {
        case PixelKind::kLineArt: DoubleAndThinLineArt(line, pixels, rate, width, destination); break;
        case PixelKind::kGrey: DoubleAndThin<1>(line, pixels, rate, width, destination); break;
        case PixelKind::kColour: DoubleAndThin<3>(line, pixels, rate, width, destination); break;
    }
    return static_cast<size_t>(bytes);
}

}  // namespace resample

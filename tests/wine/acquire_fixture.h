// Shared parts of the Wine tests that acquire images through the source
// manager and compare them with what the simulated scanner delivers: the
// scanner's image for a request, the images a host receives (memory blocks,
// the native bitmap, files), and a fixture that negotiates and transfers.
// The scanner is set up with a uniform sensor (no gain variation, no noise,
// white at full scale), so that the calibration the source makes equals the
// scanner's factory correction and the expected image can be computed
// without it.
#pragma once

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/request_blocks.h"
#include "device/tone_download.h"
#include "settings/scan_settings.h"
#include "sim/image_renderer.h"
#include "sim/scanner_config.h"
#include "tests/wine/ds_fixture.h"
#include "twain/fix32.h"

namespace dstest {

const std::string kUniformSensor = "GainVariation=0\nNoise=0\nWhiteLevel=4095\n";

// An image as a host receives it in scanner order: rows top to bottom,
// unpadded, red, green, blue for colour, line art 1 = white with the first
// pixel in the top bit.
struct Image {
    uint32_t pixels = 0;
    uint32_t lines = 0;
    uint32_t lineBytes = 0;
    std::vector<uint8_t> bytes;
};

// What the scanner is asked for: an image type of the scan window, a scan
// resolution and an area in optical units, with the tone tables it was sent.
struct ScannerRequest {
    uint8_t imageType;  // sim::ImageType
    uint16_t resolution;
    uint16_t left, top, right, bottom;
    sim::ToneTables tone;
};

// The tone-table block a scan sends for `tone` in `scanMode` on a scanner of
// `opticalResolution`, as the scanner reads it. `tables` holds the maps the
// source kept from earlier scans (identities for a new source).
inline sim::ToneTables SentToneTables(const ToneSettings& tone, uint16_t scanMode, bool outputMatch, bool uiHidden,
                                      tone::ScanToneTables& tables, uint16_t opticalResolution = 1200) {
    tone::ScanToneInputs inputs{};
    inputs.tone = tone;
    inputs.scanMode = scanMode;
    inputs.outputMatch = outputMatch;
    inputs.opticalResolution = opticalResolution;
    inputs.uiHidden = uiHidden;
    std::vector<uint8_t> block(blocks::kToneTableSize);
    EXPECT_TRUE(tone::PrepareScanToneTables(inputs, tables, block.data(), block.size()));
    sim::ToneTables sent = sim::DefaultToneTables();
    EXPECT_TRUE(sim::ParseToneBlock(block.data(), sent));
    return sent;
}

// What the simulated scanner configured by `scannerKeys` delivers for
// `request`, with the right edge narrowed to a width it accepts as the scan
// command narrows it.
inline Image ScannerImage(const std::string& scannerKeys, ScannerRequest request) {
    const sim::ScannerConfig config = sim::ParseScannerConfig("[Scanner]\n" + scannerKeys);
    const uint32_t rate = sim::ConfiguredRate(config);
    EXPECT_TRUE(AcceptScanWidth(request.left, request.right, request.resolution, static_cast<uint16_t>(rate),
                                request.imageType == sim::kLineArt));
    sim::ScanParameters parameters;
    parameters.left = request.left;
    parameters.top = request.top;
    parameters.right = request.right;
    parameters.bottom = request.bottom;
    parameters.imageType = request.imageType;
    parameters.resolution = request.resolution;
    const sim::ScanArea area = sim::AreaOf(config, parameters);
    Image image;
    image.pixels = area.pixels;
    image.lines = area.lines;
    image.lineBytes = area.lineBytes;
    image.bytes = sim::ExpectedPixels(config, sim::BedImage{}, parameters, request.tone, sim::Calibration{});
    return image;
}

inline uint32_t PaddedRow(uint32_t lineBytes) { return (lineBytes + 3) & ~3u; }

// Bottom-up, padded rows (blue, green, red for colour) back in scanner order.
inline std::vector<uint8_t> FromBitmapRows(const uint8_t* rows, uint32_t lines, uint32_t lineBytes, bool colour) {
    const uint32_t stride = PaddedRow(lineBytes);
    std::vector<uint8_t> out(size_t{lines} * lineBytes);
    for (uint32_t line = 0; line < lines; ++line) {
        const uint8_t* row = rows + size_t{lines - 1 - line} * stride;
        uint8_t* dest = out.data() + size_t{line} * lineBytes;
        std::memcpy(dest, row, lineBytes);
        if (colour)
            for (uint32_t p = 0; p + 2 < lineBytes; p += 3) std::swap(dest[p], dest[p + 2]);
    }
    return out;
}

// Scanner-order rows as a bottom-up bitmap, padded, blue first for colour.
inline std::vector<uint8_t> ToBitmapRows(const Image& image, bool colour) {
    const uint32_t stride = PaddedRow(image.lineBytes);
    std::vector<uint8_t> rows(size_t{image.lines} * stride, 0);
    for (uint32_t line = 0; line < image.lines; ++line) {
        uint8_t* row = rows.data() + size_t{image.lines - 1 - line} * stride;
        std::memcpy(row, image.bytes.data() + size_t{line} * image.lineBytes, image.lineBytes);
        if (colour)
            for (uint32_t p = 0; p + 2 < image.lineBytes; p += 3) std::swap(row[p], row[p + 2]);
    }
    return rows;
}

// Equal images, or where the first difference lies.
inline ::testing::AssertionResult SamePixels(const Image& expected, const std::vector<uint8_t>& actual) {
    if (actual.size() != expected.bytes.size())
        return ::testing::AssertionFailure() << "size " << actual.size() << ", expected " << expected.bytes.size();
    for (size_t i = 0; i < actual.size(); ++i)
        if (actual[i] != expected.bytes[i])
            return ::testing::AssertionFailure()
                   << "line " << i / expected.lineBytes << " byte " << i % expected.lineBytes << ": "
                   << int(actual[i]) << ", expected " << int(expected.bytes[i]);
    return ::testing::AssertionSuccess();
}

inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string TempPath(const char* name) {
    char directory[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

// Every DAT_IMAGEMEMXFER answer of one image.
struct MemoryBlocks {
    std::vector<TW_UINT16> codes;
    std::vector<TW_IMAGEMEMXFER> records;
    std::vector<uint8_t> rows;  // the blocks' rows in YOffset order
};

struct Dib {
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t clrUsed = 0;
    std::vector<uint8_t> palette;
    std::vector<uint8_t> rows;
};

// The bitmap the host received; the host frees it, as TWAIN has it.
inline Dib TakeDib(TW_HANDLE handle) {
    Dib dib;
    HGLOBAL block = TwainPointer<HGLOBAL>(handle);
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    if (!bytes) return dib;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    dib.width = header.biWidth;
    dib.height = header.biHeight;
    dib.bitCount = header.biBitCount;
    dib.clrUsed = header.biClrUsed;
    const size_t paletteBytes = 4 * size_t{header.biClrUsed};
    dib.palette.assign(bytes + 40, bytes + 40 + paletteBytes);
    dib.rows.assign(bytes + 40 + paletteBytes, bytes + GlobalSize(block));
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
    return dib;
}

// A host session on a scanner with a uniform sensor, and the triplets of a
// transfer.
class AcquireTest : public SourceTest {
protected:
    // Opens the source afresh on a uniform-sensor scanner with `extraKeys`,
    // as the application `productName`.
    void Connect(const std::string& extraKeys, const char* productName = "twtest") {
        keys = kUniformSensor + extraKeys;
        SetScanner(keys);
        if (host.sourceOpen) {
            if (host.enabled) host.Disable();
            ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
        }
        if (host.dsmOpen && std::strcmp(host.app.ProductName, productName) != 0) host.CloseDsm();
        if (!host.dsmOpen) {
            ASSERT_TRUE(host.OpenDsm(productName));
        }
        ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
        ClearScannerLog();
    }


    // The file transfer's target: the name, then the format through the
    // capability (the set-up triplet takes TIFF only).
    void ChooseFile(const std::string& path, TW_UINT16 format) {
        TW_SETUPFILEXFER setup{};
        lstrcpynA(setup.FileName, path.c_str(), sizeof setup.FileName);
        setup.Format = TWFF_TIFF;
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
        ASSERT_EQ(host.SetOneValue(ICAP_IMAGEFILEFORMAT, TWTY_UINT16, format), TWRC_SUCCESS);
    }

    // Negotiates pixel type, resolution, mechanism and the frame (inches) in
    // state 4 and enables without the user interface; true when the image is
    // ready (state 6).
    bool ReadyUnattended(TW_UINT16 pixelType, uint16_t dpi, TW_UINT16 mechanism, float left, float top, float right,
                         float bottom) {
        if (host.enabled) host.Disable();
        EXPECT_EQ(host.SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, pixelType), TWRC_SUCCESS);
        EXPECT_EQ(host.SetOneValue(ICAP_XRESOLUTION, TWTY_FIX32, Fix32ToContainer(Fix32FromInt(dpi))), TWRC_SUCCESS);
        EXPECT_EQ(host.SetOneValue(ICAP_XFERMECH, TWTY_UINT16, mechanism), TWRC_SUCCESS);
        EXPECT_EQ(host.SetFrame(left, top, right, bottom), TWRC_SUCCESS);
        if (host.Enable(false) != TWRC_SUCCESS) return false;
        return host.WaitForNotification(20000) == MSG_XFERREADY;
    }

    TW_UINT16 MemoryBlock(uint8_t* buffer, uint32_t length, TW_IMAGEMEMXFER& record) {
        record = TW_IMAGEMEMXFER{};
        record.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        record.Memory.Length = length;
        record.Memory.TheMem = TwainRef(buffer);
        return host.Ds(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &record);
    }

    // Blocks until the source stops answering TWRC_SUCCESS.
    MemoryBlocks TakeMemoryBlocks(uint32_t length = 65536) {
        MemoryBlocks taken;
        std::vector<uint8_t> buffer(length);
        for (;;) {
            TW_IMAGEMEMXFER record{};
            TW_UINT16 rc = MemoryBlock(buffer.data(), length, record);
            taken.codes.push_back(rc);
            if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) break;
            taken.records.push_back(record);
            taken.rows.insert(taken.rows.end(), buffer.begin(), buffer.begin() + record.BytesWritten);
            if (rc == TWRC_XFERDONE) break;
        }
        return taken;
    }

    TW_UINT16 EndTransfer(TW_UINT16 msg = MSG_ENDXFER) {
        TW_PENDINGXFERS pending{};
        return host.Ds(DG_CONTROL, DAT_PENDINGXFERS, msg, &pending);
    }

    TW_IMAGEINFO ImageInfo() {
        TW_IMAGEINFO info{};
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
        return info;
    }

    // The texts of the message boxes shown since the last call.
    std::vector<std::string> TakeMessages() {
        std::vector<std::string> texts;
        for (const RecordedBox& box : recorder.boxes) texts.push_back(box.text);
        recorder.boxes.clear();
        return texts;
    }

    std::string keys;
    HostSession host;
};

}  // namespace dstest

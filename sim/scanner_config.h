// Configuration of the simulated scanner and its driver, read from the plain
// INI text of KVASPI_SP.INI. Every item has a default; a missing or bad value
// keeps the default and is noted in `problems`.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/bed_layouts.h"

namespace sim {

// "The n-th request of function f returns status s" (INI key F<f>.<n>=<s>).
struct ScriptedStatus {
    uint32_t function = 0;
    uint32_t requestNumber = 0;  // 1 = the first request of that function since the driver was loaded
    uint16_t status = 0;
};

enum class ShadingRequest : uint8_t {
    kNever = 0,
    kUntilSent = 1,  // while the current mode group has received no shading data since ADDR_CHK
    kAlways = 2,
};

struct ScannerConfig {
    // Driver
    uint32_t addrChkHandle = 1;
    bool log = true;
    uint32_t segments = 3;          // descriptors written by BUF_ADDR, 1..16
    bool forceBufAddrCount = false;
    uint16_t bufAddrCount = 0;      // returned by BUF_ADDR when forced

    // Inquiry
    uint16_t inquiryStatus = 0;
    char revision = '1';
    std::array<char, 2> revision2 = {'0', '3'};
    std::array<char, 4> modelPrefix = {'K', 'V', 'S', '-'};
    std::array<char, 4> resolutionCode = {'1', '2', '0', '0'};
    uint8_t capabilityFlags = 0x40;
    std::array<uint16_t, 4> referenceLevels = {2600, 2700, 2500, 2650};  // red, green, blue, grey
    uint8_t feeder = 0;
    uint8_t flag = 1;

    // Status
    uint16_t faultWord = 0;
    uint32_t warmupPolls = 0;
    bool neverReady = false;
    uint32_t stopBusyPolls = 0;
    // A scanner that misreports its scan: StartScan answers these instead of
    // the true bytes per line and line count (kTrueValue: the true ones).
    // Lines past the true ones repeat the last; a misreported line width
    // refuses reads.
    static constexpr uint32_t kTrueValue = 0x10000;
    uint32_t reportedBytesPerLine = kTrueValue;
    uint32_t reportedLines = kTrueValue;

    // Shading
    ShadingRequest shadingNeeded = ShadingRequest::kUntilSent;
    uint16_t shadingLinesColour = 16;
    uint16_t shadingLinesGrey = 12;

    // Sensor and bed
    uint32_t seed = 1;             // of the element gains, the noise and the dust
    uint8_t gainVariation = 8;     // percent, 0..50: element white levels vary by up to this much
    uint16_t noise = 6;            // counts, 0..1000: noise of the white reference lines (0: no noise, no dust)
    uint16_t whiteLevel = 3600;    // 12-bit reading of white at nominal gain, 1..4095
    std::string bedFile;           // 24-bit BMP covering the whole bed; empty: the procedural bed
    BedLayout layout = BedLayout::kDocument;  // which procedural bed

    std::vector<ScriptedStatus> script;
    std::vector<std::string> problems;  // one line per ignored key or value
};

ScannerConfig ParseScannerConfig(const std::string& iniText);

// The scripted status of the given request, if the configuration names one.
const ScriptedStatus* FindScriptedStatus(const ScannerConfig& config, uint32_t function,
                                         uint32_t requestNumber);

}  // namespace sim

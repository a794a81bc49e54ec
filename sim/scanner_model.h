// The simulated scanner: carries out one request block at a time and fills
// its result fields as the scanner would. Shared by KVASPI_SP.DLL, the remote
// peer simulator and the unit tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/bed_image.h"
#include "sim/calibration.h"
#include "sim/descriptor_io.h"
#include "sim/image_renderer.h"
#include "sim/scan_geometry.h"
#include "sim/scanner_config.h"
#include "sim/tone_tables.h"

namespace sim {

// Status of a request the scanner cannot carry out: unknown function, a
// parameter it does not support, a start without parameters, a handle the
// driver did not hand out.
constexpr uint16_t kRejected = 0x8000;
constexpr uint16_t kReadyWord = 1;
constexpr uint32_t kFunctionCount = 10;  // functions 0..9 reach the local scanner

// What the scanner remembers between requests; cleared at every ADDR_CHK.
struct ScanSession {
    uint32_t handle = 0;  // what ADDR_CHK handed out; 0 before the first one
    uint32_t statusPolls = 0;
    uint32_t stopBusyPollsLeft = 0;
    uint16_t saverDelay = 0;
    bool haveParameters = false;
    ScanParameters parameters;
    Calibration calibration;  // shading values received since ADDR_CHK
    ToneTables tone = DefaultToneTables();
    bool scanning = false;    // started, and lines are still to come
    uint16_t bytesPerLine = 0;  // as StartScan reported them
    uint16_t lines = 0;
    uint16_t trueLineBytes = 0;  // as the scanner renders them
    uint16_t trueLines = 0;
    uint16_t linesDelivered = 0;
    ImageRenderer renderer;   // prepared by StartScan
};

struct ScannerState {
    ScannerConfig config;
    BedImage bed;         // the BedFile picture; empty for the procedural bed
    MemoryAccess memory;  // set once by the glue; ADDR_CHK keeps it
    // Counted since the driver was loaded; ADDR_CHK does not reset them.
    uint32_t requestCount = 0;
    std::array<uint32_t, kFunctionCount> functionRequests = {};
    ScanSession session;
};

// One request as the log shows it.
struct RequestRecord {
    uint32_t number = 0;          // 1-based, over all functions
    uint32_t function = 0;
    uint32_t functionNumber = 0;  // 1-based within the function; 0 for an unknown function
    uint16_t status = 0;          // the word left at offset 2
    bool staleIdentity = false;   // an inquiry arrived with identity bytes left in it
};

// ADDR_CHK: take a new configuration, load its BedFile (a failure is added
// to config.problems and leaves the procedural bed) and clear the session;
// the request counters keep running.
void ResetScanner(ScannerState& state, const ScannerConfig& config);

// Carry out one request on `block`, which must be at least as large as the
// function's block. A nonzero scripted status is returned instead of carrying
// out the request, except that an inquiry still reports its identity with
// 0x00FF and a status poll still counts (its "status" is the fault word).
RequestRecord HandleRequest(ScannerState& state, uint32_t function, uint8_t* block);

// SPI_CALL: HandleRequest for the handle ADDR_CHK handed out; handle 0 is
// accepted for StopScan and GetStatus only. Any other call gets kRejected.
RequestRecord HandleDriverCall(ScannerState& state, uint8_t* block, uint32_t handle,
                               uint32_t function);

// "<number> F<function>.<functionNumber> 0x<status>", e.g. "12 F8.3 0x8321".
std::string FormatRequestLine(const RequestRecord& record);

}  // namespace sim

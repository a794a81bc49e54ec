// The state of the image being scanned: its geometry, the buffer the driver
// fills, the reads done so far and the progress shown. One job at a time;
// reset for every image.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/driver_buffer.h"
#include "settings/scan_settings.h"

struct JobState {
    ScanDerived derived;             // scan resolution, interpolation, mode byte, post-processing
    uint16_t lines = 0;              // image lines, as StartScan reported them
    uint16_t bytesPerScanLine = 0;   // bytes of one line as the scanner delivers it; the
                                     // processing plan holds the image's other sizes

    DriverBuffer scan;               // shared with the driver through its descriptors
    uint16_t segmentCount = 0;       // descriptors BUF_ADDR made
    uint16_t linesPerSegment = 0;    // lines each descriptor holds
    uint16_t linesPerBuffer = 0;     // the most lines one read brings
    uint16_t linesRead = 0;          // lines requested from the scanner so far
    uint16_t chunkFirstLine = 0;     // first line of the last read
    uint16_t chunkLines = 0;         // lines of the last read
    uint8_t* currentLine = nullptr;  // address of the line LocateLine found last

    bool cancelRequested = false;    // the Escape key
    uint32_t lastPumpTick = 0;       // GetTickCount of the last message pump
    bool scanFailed = false;
    bool feederEmpty = false;  // the feeder ran out after delivered pages: the batch is over
    bool newImage = true;            // the next block starts an image
    HWND progressWindow = nullptr;
    uint16_t progressCount = 0;

    bool slowPacing = false;
    SlowPacing pacing{0, 1};

    uint64_t imageSizeEstimate = 0;  // bytes of the image, for the disk check
    float scanLengthInches = 0;      // carriage travel, for the wait after the last line
};

extern JobState g_job;

// The local shading calibration before a scan: the white reference read from
// the scanner, averaged and mapped through the gain tables, sent back as one
// correction value per sensor element; or the values of the group's last
// calibration sent again when the scanner only asks for them. A remote
// scanner calibrates itself and none of this runs.
#pragma once

#include <cstdint>

#include "engine/driver_buffer.h"

enum class CalibrationResult {
    kDone,          // calibrated, resent, or nothing was asked for
    kDeviceFailed,  // the device message is shown (627, or the transport's
                    // own); the caller stops the scanner and fails the scan
    kRefused,       // the remote scanner's calibration failed: the scan
                    // stops without a message
    kNoMemory,      // no memory for the read buffer or the colour group's
                    // output buffers; nothing shown: the caller reports
                    // ScanFailed(TWCC_LOWMEMORY, 604) and runs StopAndWaitIdle
};

// What the last full calibration of one mode group keeps for a resend.
struct KeptShading {
    DriverBuffer high;        // colour: the green plane; grey: every value
    DriverBuffer low;
    uint32_t values = 0;      // values in each buffer; 0 = nothing kept
};

struct ShadingBuffers {
    KeptShading kept[2];      // indexed by shading::Group: grey, colour
    DriverBuffer high;        // the values last sent in full, high and low bytes
    DriverBuffer low;
};

extern ShadingBuffers g_shadingBuffers;

// Called by the scan command after SetScanParameters succeeded. A remote
// scanner is asked to calibrate itself; the colour group is no longer due
// once it has. For a local scanner: Reads the shading flags the scanner returned in the scan parameter
// block. A full calibration runs when the scanner asks (shading needed = 1)
// or one is due for the group of `scanMode`; otherwise the kept values are
// resent when the shading kind names the group (1 grey, 2 colour).
CalibrationResult CalibrateShading(uint16_t scanMode, uint16_t scanResolution);

// A full calibration is due for both groups, and for the prescan module
// (the record's flag). The main dialog calls it when it opens.
void MarkCalibrationDue();

// Frees every shading buffer and clears the descriptor tables of the shared
// record. The source calls it when it is disabled or closed.
void ReleaseCalibration();

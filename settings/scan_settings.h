// The scan settings record: every choice a scan is made with, its defaults,
// and the values the engine derives from it when a scan starts (the scan
// resolution, the mode byte, the width the scanner accepts and the scan
// window block).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "imaging/image_records.h"

struct ScanSettings {
    uint16_t scanMode = kModeColour;
    uint16_t colourKind = kColour24;
    bool isColour = true;  // scanMode == kModeColour
    uint8_t scanSource = kSourceReflective;
    uint16_t sourceId = kSourceIdReflective;  // 1093, 1094, 1095 for sources 0, 1, 2
    uint16_t resolution = 300;                // requested dots per inch
    uint16_t customRes[5] = {};
    uint16_t scaling = 100;  // percent
    uint16_t destination = kDestMonitor;
    uint16_t qualityFactor = 10;  // tenths
    uint16_t descreen = kDescreenNone;
    bool descreenActive = false;  // descreen != kDescreenNone
    uint16_t outputMatch = 0;
    uint16_t filterMode = 0;  // 0 none, 1 Invert ... 8 UnSharp Mask
    uint32_t unit = 0;        // 0 inches, 1 pixels, 2 cm, 3 mm
    uint16_t frame[4] = {78, 81, 150, 145};  // left, top, right, bottom
    uint8_t velocity = 0;  // speed byte; low four bits are a speed code
    uint16_t dpiScale = 0;
    uint16_t prescanHiRes = 0;
    ToneSettings tone;  // the live copy
};

// The record as it is when nothing has been stored.
ScanSettings DefaultScanSettings();

// Back to defaults: red, green and blue highlight 255, shadow 0, gamma 10,
// then gamma 18 for 24-bit and CMYK colour unless the host is the one that
// wants linear tones (`scanwareHost`); the master channel is kept. The
// hue-wheel point, picked colour, hue, saturation, colour balance and edited
// channel go back to their defaults.
void ResetToneSettings(ToneSettings& tone, bool scanwareHost, uint16_t scanMode, uint16_t colourKind);

// ResetToneSettings on the live copy, and the filter back to none.
void ResetToneAndFilter(ScanSettings& settings, bool scanwareHost);

// Repairs a tone block just read from storage: a highlight of 0 becomes 255,
// a shadow not below its highlight becomes 0; for the linear-tone host all
// four gammas become 10.
void ApplyToneLoadRules(ToneSettings& tone, bool scanwareHost);

// The stored form of the mode: 1011..1013, or 1014 + colourKind.
// SetPersistedScanMode takes 1011..1016 and sets scanMode, colourKind and
// isColour together; any other value changes nothing and returns false.
bool SetPersistedScanMode(ScanSettings& settings, int value);
int PersistedScanMode(const ScanSettings& settings);

// Units per inch of the scanner's coordinates: the optical resolution,
// except that the 606 model works in 1200ths of an inch.
uint16_t OpticalRate(uint16_t opticalResolution);

// Values derived from the record when a scan starts.
struct ScanDerived {
    uint16_t scanResolution = 0;     // dots per inch sent to the scanner
    uint16_t opticalResolution = 0;  // as the device reports it
    bool interpolate = false;        // the image is enlarged by resampling
    uint8_t modeCode = 0;            // image type byte of the scan window
    bool postProcess = false;        // scan to a temporary file, process afterwards
};

// Sets scanResolution and interpolate from the record and
// derived.opticalResolution. Interpolation is used only for file and memory
// transfers, when the requested resolution exceeds the optical one.
void ComputeScanResolution(const ScanSettings& settings, bool fileOrMemoryTransfer, ScanDerived& derived);

// The image type byte: 0, 1, 2 for the three grey modes, 3 for 24-bit and
// CMYK colour, 5 for 36-bit colour. False for an unknown mode or colour kind.
bool ModeCodeFor(uint16_t scanMode, uint16_t colourKind, uint8_t& modeCode);

// A descreen value other than the four known ones is taken as None; the
// active flag follows the value.
void NormaliseDescreen(ScanSettings& settings);

// True when the scan must go through a temporary file first.
bool NeedsPostProcess(const ScanSettings& settings, bool batchScanToFile);

// Narrows `right` (optical units) until the scanner accepts the width: the
// output count across the frame (bytes in line art) must be a multiple of 4
// and not of 128. Returns false, leaving `right` alone, when no edge right
// of `left` gives such a width.
bool AcceptScanWidth(uint16_t left, uint16_t& right, uint16_t scanResolution, uint16_t opticalResolution,
                     bool lineArt);

struct SpeedChoice {
    uint8_t velocity;
    bool slowPacing;
};

// The slow-speed rule: with the WIN.INI setting "No" (any case) the speed
// code (low four bits) is cleared; otherwise grey and line-art scans from the
// bed or a transparency at up to 400 dpi get speed code 2 and slow pacing.
// The high four bits are kept.
SpeedChoice ApplySpeedRule(uint8_t velocity, std::string_view slowSpeedSetting, uint16_t scanMode,
                           uint8_t scanSource, uint16_t resolution);

// The pause of slow-speed pacing, before every `every`-th line. Its bands
// follow `resolution`, what the user asked for, as the speed rule does: up to
// 150 dpi every line is paced.
struct SlowPacing {
    uint32_t delayMs;
    uint16_t every;
};
SlowPacing SlowSpeedPacing(uint16_t resolution, uint16_t scanMode);
bool PacedBeforeLine(const SlowPacing& pacing, uint32_t line);

// Scan area in units of 1/OpticalRate inch.
struct ScanFrame {
    uint16_t left;
    uint16_t top;
    uint16_t right;
    uint16_t bottom;
};

// Fills the 32-byte SetScanParameters block from the record for `frame`:
// derives scanResolution, interpolate and modeCode into `derived` (whose
// opticalResolution the caller sets), narrows frame.right to a width the
// scanner accepts, and writes area, source, mode, speed, resolution and the
// green-saver delay. Bytes the record does not supply are left alone.
// False, with block and frame untouched, for an empty or inverted frame, an
// unknown mode, or a width that cannot be made acceptable; the caller then
// reports the scan area as incorrect.
bool ComputeScanWindow(const ScanSettings& settings, bool fileOrMemoryTransfer, uint16_t saverDelay,
                       ScanFrame& frame, ScanDerived& derived, uint8_t* block);

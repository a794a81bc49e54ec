// Shading calibration state that lives while the source is enabled: the gain
// tables built from the scanner's reference levels and the record through
// which the prescan module shares the calibration.
#pragma once

#include <cstdint>

#include "engine/shading.h"

// Byte layout of the shared calibration record.
constexpr size_t kCalibrationFlag = 0;          // u16: a full calibration is due
constexpr size_t kCalibrationGainTables = 4;    // three u32 addresses: red, green, blue tables
constexpr size_t kCalibrationHighTable = 16;    // 16 descriptors of 20 bytes
constexpr size_t kCalibrationLowTable = 336;    // 16 descriptors of 20 bytes
constexpr size_t kCalibrationRecordSize = 656;

struct CalibrationState {
    shading::GainTables gainTables{};
    bool colourShadingDue = true;
    bool greyShadingDue = true;
    uint8_t record[kCalibrationRecordSize] = {};
};

extern CalibrationState& g_calibration;

// True when the record and its gain tables lie where a driver can be given
// their addresses.
bool CalibrationRecordReachable();

// Builds the four gain tables from the reference levels (red, green, blue,
// grey) and stores the addresses of the red, green and blue tables in the record.
void BuildGainTables(const uint16_t referenceLevels[4]);

// At MSG_DISABLEDS: the tables are cleared and the record no longer points
// at them, until the next MSG_ENABLEDS builds them again.
void ReleaseGainTables();

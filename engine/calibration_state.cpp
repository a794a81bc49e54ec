#include "engine/calibration_state.h"

#include "device/driver_memory.h"
#include "device/request_blocks.h"

namespace {
// The record and the gain tables it points to are read by address.
DriverRecord<CalibrationState> g_calibrationRecord;
}  // namespace

CalibrationState& g_calibration = *g_calibrationRecord;

bool CalibrationRecordReachable() { return g_calibrationRecord.Reachable(); }

void ReleaseGainTables() {
    g_calibration.gainTables = {};
    for (int i = 0; i < 3; ++i) blocks::PutU32(g_calibration.record, kCalibrationGainTables + 4 * i, 0);
}

void BuildGainTables(const uint16_t referenceLevels[4]) {
    for (int i = 0; i < 4; ++i) g_calibration.gainTables[i] = shading::BuildGainTable(referenceLevels[i]);
    for (int i = 0; i < 3; ++i) {
        blocks::PutU32(g_calibration.record, kCalibrationGainTables + 4 * i,
                       BlockAddress(g_calibration.gainTables[i].data()));
    }
}

#include "engine/calibration_state.h"

#include "device/request_blocks.h"

CalibrationState g_calibration;

void BuildGainTables(const uint16_t referenceLevels[4]) {
    for (int i = 0; i < 4; ++i) g_calibration.gainTables[i] = shading::BuildGainTable(referenceLevels[i]);
    for (int i = 0; i < 3; ++i) {
        auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(g_calibration.gainTables[i].data()));
        blocks::PutU32(g_calibration.record, kCalibrationGainTables + 4 * i, address);
    }
}

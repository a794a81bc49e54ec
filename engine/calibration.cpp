#include "engine/calibration.h"

#include <cstring>
#include <vector>

#include "device/device.h"
#include "device/messages.h"
#include "device/remote_scanner.h"
#include "engine/buffer_sizing.h"
#include "engine/calibration_state.h"
#include "engine/descriptor_table.h"
#include "engine/shading.h"
#include "resources/resource_ids.h"
#include "session/session.h"

ShadingBuffers g_shadingBuffers;

namespace {

using shading::Group;

constexpr uint8_t kKindGrey = 1;
constexpr uint8_t kKindColour = 2;
constexpr size_t kRecordTableBytes = blocks::kMaxDescriptors * blocks::kDescriptorSize;

bool& DueFlag(Group group) {
    return group == Group::kColour ? g_calibration.colourShadingDue : g_calibration.greyShadingDue;
}

KeptShading& KeptOf(Group group) { return g_shadingBuffers.kept[group == Group::kColour ? 1 : 0]; }

CalibrationResult ShadingFailed() {
    ShowDeviceError(g_twain.mainDialog, MSG_SHADING_FAILED);
    return CalibrationResult::kDeviceFailed;
}

// One shading request; a nonzero status shows message 627. A failed
// transport has shown its own message.
CalibrationResult Request(uint32_t function, uint8_t* block) {
    if (!ScannerRequest(function, block)) return CalibrationResult::kDeviceFailed;
    return BlockStatus(block) == 0 ? CalibrationResult::kDone : ShadingFailed();
}

// The prescan module resends the colour group's kept values through these tables.
void ShareKeptTables(const KeptShading& kept) {
    uint8_t* record = g_calibration.record;
    std::memset(record + kCalibrationHighTable, 0, kRecordTableBytes);
    std::memset(record + kCalibrationLowTable, 0, kRecordTableBytes);
    std::memcpy(record + kCalibrationHighTable, kept.high.table, kept.high.count * blocks::kDescriptorSize);
    std::memcpy(record + kCalibrationLowTable, kept.low.table, kept.low.count * blocks::kDescriptorSize);
}

void ForgetKept(Group group) {
    KeptShading& kept = KeptOf(group);
    FreeDriverBuffer(kept.high);
    FreeDriverBuffer(kept.low);
    kept.values = 0;
    if (group == Group::kColour) ShareKeptTables(kept);
}

CalibrationResult Send(uint16_t resolution, uint32_t values, const DriverBuffer& high, const DriverBuffer& low) {
    uint8_t* block = g_device.blocks.sendShading;
    blocks::FillSendShading(block, resolution, values, high.count, BlockAddress(high.table), low.count,
                            BlockAddress(low.table));
    return Request(blocks::kSendShadingData, block);
}

// The white reference into a read buffer described by the driver, then
// copied out line by line. The read buffer lives only inside this call.
CalibrationResult ReadWhiteLines(uint16_t resolution, uint16_t lineBytes, uint16_t lines,
                                 std::vector<uint8_t>& white) {
    const uint32_t total = uint32_t{lineBytes} * lines;
    const uint32_t firstSize = FirstBufferSize(lineBytes, lines, g_device.defaultDriver, kShadingBufferCap);
    if (firstSize < total) return ShadingFailed();  // more white lines than the largest buffer holds

    DriverBuffer buffer;
    if (!AllocateDriverBuffer(buffer, firstSize, lineBytes, total, g_device.defaultDriver)) return CalibrationResult::kNoMemory;
    CalibrationResult result = CalibrationResult::kDone;
    if (!DescribeDriverBuffer(buffer, lineBytes, g_device.bufAddr) ||
        descriptors::TrimToWholeLines(buffer.table, buffer.count, lineBytes) < lines) {
        result = ShadingFailed();
    } else {
        uint8_t* block = g_device.blocks.readShading;
        blocks::FillReadShading(block, resolution, lineBytes, lines, buffer.count, BlockAddress(buffer.table));
        result = Request(blocks::kReadShadingData, block);
        // The table is read again: the driver may have changed it.
        if (result == CalibrationResult::kDone &&
            !descriptors::GatherLines(buffer.bytes, BlockAddress(buffer.bytes), buffer.size, buffer.table, buffer.count,
                                      lineBytes, lines, white))
            result = ShadingFailed();
    }
    FreeDriverBuffer(buffer);
    return result;
}

// A buffer for `values` bytes, sized by the shading buffer rule, described
// as one line of `values` bytes.
enum class Outcome { kReady, kNoMemory, kBadDescription };
Outcome PrepareOutput(DriverBuffer& buffer, uint32_t firstSize, uint32_t values) {
    if (!AllocateDriverBuffer(buffer, firstSize, values, values, g_device.defaultDriver)) return Outcome::kNoMemory;
    if (!DescribeDriverBuffer(buffer, static_cast<uint16_t>(values), g_device.bufAddr) ||
        descriptors::DescribedBytes(buffer.table, buffer.count) < values)
        return Outcome::kBadDescription;
    return Outcome::kReady;
}

// The correction values into the high/low pair sent now and the pair kept
// for a resend, then SendShadingData.
CalibrationResult SendNewValues(Group group, uint16_t resolution, const std::vector<uint16_t>& values) {
    ShadingBuffers& out = g_shadingBuffers;
    FreeDriverBuffer(out.high);
    FreeDriverBuffer(out.low);
    ForgetKept(group);

    const auto count = static_cast<uint32_t>(values.size());
    const uint32_t keptCount = group == Group::kColour ? count / 3 : count;
    const uint32_t size = FirstBufferSize(count, 1, g_device.defaultDriver, kShadingBufferCap);
    const uint32_t keptSize = group == Group::kColour ? size / 3 : size;
    KeptShading& kept = KeptOf(group);

    struct Wanted {
        DriverBuffer* buffer;
        uint32_t firstSize;
        uint32_t values;
    };
    const Wanted wanted[] = {{&out.high, size, count},
                             {&out.low, size, count},
                             {&kept.high, keptSize, keptCount},
                             {&kept.low, keptSize, keptCount}};
    Outcome outcome = Outcome::kReady;
    for (const Wanted& w : wanted) {
        outcome = PrepareOutput(*w.buffer, w.firstSize, w.values);
        if (outcome != Outcome::kReady) break;
    }
    const shading::ShadingPlanes planes = {{out.high.bytes, out.high.size},
                                           {out.low.bytes, out.low.size},
                                           {kept.high.bytes, kept.high.size},
                                           {kept.low.bytes, kept.low.size}};
    if (outcome == Outcome::kReady && !shading::SplitShadingValues(values, group, planes))
        outcome = Outcome::kBadDescription;
    if (outcome != Outcome::kReady) {
        FreeDriverBuffer(out.high);
        FreeDriverBuffer(out.low);
        ForgetKept(group);
        // Only the colour group reports missing memory as such.
        if (outcome == Outcome::kNoMemory && group == Group::kColour) return CalibrationResult::kNoMemory;
        return ShadingFailed();
    }
    kept.values = keptCount;
    if (group == Group::kColour) ShareKeptTables(kept);
    return Send(resolution, count, out.high, out.low);
}

CalibrationResult FullCalibration(Group group, uint16_t resolution) {
    namespace sz = blocks::shadingsize;
    uint8_t* block = g_device.blocks.shadingSize;
    blocks::PutU16(block, sz::kOne, 1);
    CalibrationResult result = Request(blocks::kGetShadingSize, block);
    if (result != CalibrationResult::kDone) return result;
    const uint16_t lineBytes = blocks::GetU16(block, sz::kLineBytes);
    const uint16_t lines = blocks::GetU16(block, sz::kLines);
    // Every group needs lines to average and, in colour, at least one pixel.
    if (!shading::UsableShadingGeometry(group, lineBytes, lines) || shading::ResendCount(group, lineBytes) == 0)
        return ShadingFailed();

    std::vector<uint8_t> white;
    result = ReadWhiteLines(resolution, lineBytes, lines, white);
    if (result != CalibrationResult::kDone) return result;
    std::vector<uint16_t> values;
    if (!shading::AverageShadingLines(white.data(), white.size(), lineBytes, lines, group, values))
        return ShadingFailed();
    shading::ApplyGain(values, group, g_calibration.gainTables);

    result = SendNewValues(group, resolution, values);
    if (result == CalibrationResult::kDone) DueFlag(group) = false;
    return result;
}

CalibrationResult CalibrateRemotely() {
    switch (RemoteCalibrate()) {
        case RemoteCalibration::kLost:
            return CalibrationResult::kDeviceFailed;
        case RemoteCalibration::kRefused:
            return CalibrationResult::kRefused;
        case RemoteCalibration::kDone:
            break;
    }
    g_calibration.colourShadingDue = false;
    return CalibrationResult::kDone;
}

}  // namespace

CalibrationResult CalibrateShading(uint16_t scanMode, uint16_t scanResolution) {
    if (g_device.remoteMode) return CalibrateRemotely();
    Group group;
    if (!shading::GroupOfMode(scanMode, group)) return CalibrationResult::kDone;
    const uint8_t* parameters = g_device.blocks.scanParameters;
    if (parameters[blocks::scanparam::kShadingNeeded] == 1 || DueFlag(group))
        return FullCalibration(group, scanResolution);

    const uint8_t groupKind = group == Group::kColour ? kKindColour : kKindGrey;
    const KeptShading& kept = KeptOf(group);
    if (parameters[blocks::scanparam::kShadingKind] != groupKind || kept.values == 0)
        return CalibrationResult::kDone;
    return Send(scanResolution, kept.values, kept.high, kept.low);
}

void MarkCalibrationDue() {
    g_calibration.colourShadingDue = true;
    g_calibration.greyShadingDue = true;
    blocks::PutU16(g_calibration.record, kCalibrationFlag, 1);
}

void ReleaseCalibration() {
    FreeDriverBuffer(g_shadingBuffers.high);
    FreeDriverBuffer(g_shadingBuffers.low);
    ForgetKept(Group::kGrey);
    ForgetKept(Group::kColour);
}

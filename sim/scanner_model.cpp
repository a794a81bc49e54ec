#include "sim/scanner_model.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "device/request_blocks.h"
#include "sim/scan_geometry.h"
#include "sim/sensor.h"

namespace sim {
namespace {

using blocks::PutU16;

constexpr uint32_t kMaxU16 = 0xFFFF;

bool ColourGroup(const ScannerState& state) { return IsColourGroup(state.session.parameters.imageType); }

void Inquiry(const ScannerState& state, uint8_t* block, uint16_t status) {
    namespace inq = blocks::inquiry;
    PutU16(block, blocks::kStatus, status);
    if (status != 0 && status != inq::kNotReady) return;  // no scanner answers
    const ScannerConfig& c = state.config;
    block[inq::kRevision] = static_cast<uint8_t>(c.revision);
    std::copy(c.revision2.begin(), c.revision2.end(), block + inq::kRevision2);
    std::copy(c.modelPrefix.begin(), c.modelPrefix.end(), block + inq::kModelPrefix);
    std::copy(c.resolutionCode.begin(), c.resolutionCode.end(), block + inq::kResolutionCode);
    block[inq::kCapabilityFlags] = c.capabilityFlags;
    for (size_t i = 0; i < c.referenceLevels.size(); ++i) {
        PutU16(block, inq::kReferenceLevels + 2 * i, c.referenceLevels[i]);
    }
    block[inq::kFeeder] = c.feeder;
    block[inq::kFlag] = c.flag;
}

uint16_t SetScanParameters(ScannerState& state, uint8_t* block) {
    namespace sp = blocks::scanparam;
    ScanSession& s = state.session;
    const uint8_t saverOnly = block[sp::kSaverOnly];
    if (saverOnly == 1) {
        s.saverDelay = blocks::GetU16(block, sp::kSaverDelay);
        return 0;
    }
    ScanParameters p;
    p.left = blocks::GetU16(block, sp::kLeft);
    p.top = blocks::GetU16(block, sp::kTop);
    p.right = blocks::GetU16(block, sp::kRight);
    p.bottom = blocks::GetU16(block, sp::kBottom);
    p.source = block[sp::kSource];
    p.imageType = block[sp::kImageType];
    p.velocity = block[sp::kVelocity];
    p.resolution = blocks::GetU16(block, sp::kResolution);
    if (saverOnly != 0 || !IsKnownImageType(p.imageType) || p.resolution == 0 || p.source > 3) {
        return kRejected;
    }
    s.parameters = p;
    s.haveParameters = true;
    s.saverDelay = blocks::GetU16(block, sp::kSaverDelay);

    const bool colour = ColourGroup(state);
    const ShadingRequest mode = state.config.shadingNeeded;
    const bool needed = mode == ShadingRequest::kAlways ||
                        (mode == ShadingRequest::kUntilSent &&
                         !CalibrationCovers(s.calibration, colour, p.resolution));
    block[sp::kShadingNeeded] = needed ? 1 : 0;
    block[sp::kShadingKind] = colour ? 2 : 1;
    block[sp::kThirdResult] = 0;
    return 0;
}

uint16_t StartScan(ScannerState& state, uint8_t* block) {
    ScanSession& s = state.session;
    if (!s.haveParameters) return kRejected;
    const ScanArea area = AreaOf(state.config, s.parameters);
    if (area.lineBytes > kMaxU16 || area.lines > kMaxU16) return kRejected;
    const bool empty = area.lineBytes == 0 || area.lines == 0;
    s.trueLineBytes = static_cast<uint16_t>(empty ? 0 : area.lineBytes);
    s.trueLines = static_cast<uint16_t>(empty ? 0 : area.lines);
    const ScannerConfig& c = state.config;
    const auto reported = [](uint32_t value, uint16_t truth) {
        return value == ScannerConfig::kTrueValue ? truth : static_cast<uint16_t>(value);
    };
    s.bytesPerLine = reported(c.reportedBytesPerLine, s.trueLineBytes);
    s.lines = reported(c.reportedLines, s.trueLines);
    s.linesDelivered = 0;
    s.scanning = !empty;
    if (s.scanning) s.renderer = PrepareRenderer(state.config, state.bed, s.parameters, s.tone, s.calibration);
    PutU16(block, blocks::startscan::kBytesPerLine, s.bytesPerLine);
    PutU16(block, blocks::startscan::kLines, s.lines);
    return 0;
}

uint16_t GetShadingSize(const ScannerState& state, uint8_t* block) {
    const ScanSession& s = state.session;
    if (!s.haveParameters) return kRejected;
    const ShadingGeometry g = ShadingGeometryOf(state.config, ColourGroup(state), s.parameters.resolution);
    PutU16(block, blocks::shadingsize::kLineBytes, static_cast<uint16_t>(g.lineBytes));
    PutU16(block, blocks::shadingsize::kLines, g.lines);
    return 0;
}

// The white reference of the current group and resolution, line by line into
// the caller's descriptors (each taking the whole lines of its length). The
// block must describe exactly that reference.
uint16_t ReadShadingData(const ScannerState& state, const uint8_t* block) {
    namespace rs = blocks::readshading;
    const ScanSession& s = state.session;
    if (!s.haveParameters) return kRejected;
    const bool colour = ColourGroup(state);
    const ShadingGeometry g = ShadingGeometryOf(state.config, colour, s.parameters.resolution);
    if (blocks::GetU16(block, rs::kResolution) != s.parameters.resolution ||
        blocks::GetU16(block, rs::kLineBytes) != g.lineBytes || blocks::GetU16(block, rs::kLines) != g.lines) {
        return kRejected;
    }
    std::vector<Segment> segments;
    std::vector<uint8_t*> places;
    if (!ReadSegments(state.memory, blocks::GetU32(block, rs::kTable), blocks::GetU16(block, rs::kDescriptorCount),
                      segments) ||
        !PlaceLines(state.memory, segments, g.lineBytes, g.lines, false, places)) {
        return kRejected;
    }
    const std::vector<uint8_t> data = ShadingLines(state.config, colour, s.parameters.resolution);
    for (uint32_t line = 0; line < g.lines; ++line) {
        std::copy_n(data.begin() + size_t{line} * g.lineBytes, g.lineBytes, places[line]);
    }
    return 0;
}

// Correction values as high-byte and low-byte streams, each read across its
// descriptor table, for the current group at the block's resolution.
uint16_t SendShadingData(ScannerState& state, const uint8_t* block) {
    namespace ss = blocks::sendshading;
    ScanSession& s = state.session;
    if (!s.haveParameters) return kRejected;
    const uint16_t resolution = blocks::GetU16(block, ss::kResolution);
    const uint32_t count = blocks::GetU32(block, ss::kEntryCount);
    if (resolution == 0 || count > 3 * kMaxU16) return kRejected;
    std::vector<Segment> segments;
    std::vector<uint8_t> high;
    std::vector<uint8_t> low;
    if (!ReadSegments(state.memory, blocks::GetU32(block, ss::kHighTable), blocks::GetU16(block, ss::kHighCount),
                      segments) ||
        !GatherBytes(state.memory, segments, count, high) ||
        !ReadSegments(state.memory, blocks::GetU32(block, ss::kLowTable), blocks::GetU16(block, ss::kLowCount),
                      segments) ||
        !GatherBytes(state.memory, segments, count, low)) {
        return kRejected;
    }
    std::vector<uint16_t> values(count);
    for (uint32_t i = 0; i < count; ++i) values[i] = static_cast<uint16_t>(high[i] << 8 | low[i]);
    const bool colour = ColourGroup(state);
    const ShadingGeometry g = ShadingGeometryOf(state.config, colour, resolution);
    return StoreCorrection(s.calibration, colour, resolution, g.pixels, values) ? 0 : kRejected;
}

uint16_t SendToneTable(ScannerState& state, const uint8_t* block) {
    return ParseToneBlock(block, state.session.tone) ? 0 : kRejected;
}

// The next lines of the scan into the caller's descriptors, read from the
// table the record holds at 96 (each taking its lines-held count, never
// beyond its length). The caller's count of lines done may run ahead of the
// lines sent.
uint16_t ReadImageData(ScannerState& state, const uint8_t* block) {
    namespace rd = blocks::readdata;
    ScanSession& s = state.session;
    if (!s.scanning || s.bytesPerLine != s.trueLineBytes) return kRejected;
    const uint16_t lines = blocks::GetU16(block, rd::kLines);
    const uint16_t done = blocks::GetU16(block, rd::kLinesDone);
    if (blocks::GetU16(block, rd::kBytesPerLine) != s.bytesPerLine || lines == 0 || done < s.linesDelivered ||
        done > s.lines || lines > s.lines - done ||
        blocks::GetU32(block, rd::kBytes) != uint32_t{lines} * s.bytesPerLine) {
        return kRejected;
    }
    s.linesDelivered = done;
    std::vector<Segment> segments;
    std::vector<uint8_t*> places;
    if (!ParseSegments(block + rd::kRecordTable, blocks::GetU16(block, rd::kRecordCount), segments) ||
        !PlaceLines(state.memory, segments, s.bytesPerLine, lines, true, places)) {
        return kRejected;
    }
    for (uint32_t i = 0; i < lines; ++i)
        RenderLine(s.renderer, std::min<uint32_t>(s.linesDelivered + i, s.trueLines - 1u), places[i]);
    s.linesDelivered = static_cast<uint16_t>(s.linesDelivered + lines);
    if (s.linesDelivered == s.lines) s.scanning = false;
    return 0;
}

void StopScan(ScannerState& state) {
    state.session.scanning = false;
    state.session.stopBusyPollsLeft = state.config.stopBusyPolls;
}

void GetStatus(ScannerState& state, uint8_t* block, uint16_t faultWord) {
    ScanSession& s = state.session;
    ++s.statusPolls;
    bool ready = !state.config.neverReady && s.statusPolls > state.config.warmupPolls;
    if (s.stopBusyPollsLeft > 0) {
        --s.stopBusyPollsLeft;
        ready = false;
    }
    PutU16(block, blocks::status::kFault, faultWord);
    PutU16(block, blocks::status::kReady, ready ? kReadyWord : 0);
}

RequestRecord CountRequest(ScannerState& state, uint32_t function) {
    RequestRecord record;
    record.number = ++state.requestCount;
    record.function = function;
    if (function < kFunctionCount) record.functionNumber = ++state.functionRequests[function];
    return record;
}

// The status the scanner starts from: a scripted one, else the configured
// inquiry status or fault word, else 0.
uint16_t PresetStatus(const ScannerState& state, const RequestRecord& record) {
    const ScriptedStatus* scripted =
        FindScriptedStatus(state.config, record.function, record.functionNumber);
    if (scripted != nullptr) return scripted->status;
    if (record.function == blocks::kInquiry) return state.config.inquiryStatus;
    if (record.function == blocks::kGetStatus) return state.config.faultWord;
    return 0;
}

uint16_t CarryOut(ScannerState& state, uint32_t function, uint8_t* block) {
    switch (function) {
        case blocks::kSetScanParameters:
            return SetScanParameters(state, block);
        case blocks::kStartScan:
            return StartScan(state, block);
        case blocks::kGetShadingSize:
            return GetShadingSize(state, block);
        case blocks::kReadShadingData:
            return ReadShadingData(state, block);
        case blocks::kSendShadingData:
            return SendShadingData(state, block);
        case blocks::kSendToneTable:
            return SendToneTable(state, block);
        case blocks::kReadImageData:
            return ReadImageData(state, block);
        case blocks::kStopScan:
            StopScan(state);
            return 0;
        default:
            return kRejected;
    }
}

RequestRecord Reject(RequestRecord record, uint8_t* block) {
    record.status = kRejected;
    if (block != nullptr) PutU16(block, blocks::kStatus, record.status);
    return record;
}

}  // namespace

void ResetScanner(ScannerState& state, const ScannerConfig& config) {
    state.config = config;
    state.session = ScanSession{};
    state.session.handle = config.addrChkHandle;
    state.bed = BedImage{};
    std::string problem;
    if (!config.bedFile.empty() && !LoadBedImage(config.bedFile, state.bed, problem)) {
        state.config.problems.push_back("BedFile: " + problem);
    }
}

RequestRecord HandleRequest(ScannerState& state, uint32_t function, uint8_t* block) {
    RequestRecord record = CountRequest(state, function);
    if (block == nullptr || function >= kFunctionCount) return Reject(record, block);

    record.status = PresetStatus(state, record);
    if (function == blocks::kInquiry) {
        const uint8_t* identity = block + blocks::inquiry::kIdentity;
        record.staleIdentity =
            std::any_of(identity, identity + blocks::inquiry::kIdentityLength, [](uint8_t b) { return b != 0; });
        Inquiry(state, block, record.status);
        return record;
    }
    if (function == blocks::kGetStatus) {
        GetStatus(state, block, record.status);
        return record;
    }
    if (record.status == 0) record.status = CarryOut(state, function, block);
    PutU16(block, blocks::kStatus, record.status);
    return record;
}

RequestRecord HandleDriverCall(ScannerState& state, uint8_t* block, uint32_t handle,
                               uint32_t function) {
    const bool stopOrPoll = function == blocks::kStopScan || function == blocks::kGetStatus;
    const bool accepted =
        (handle != 0 && handle == state.session.handle) || (handle == 0 && stopOrPoll);
    if (!accepted) return Reject(CountRequest(state, function), block);
    return HandleRequest(state, function, block);
}

std::string FormatRequestLine(const RequestRecord& record) {
    char line[64];
    std::snprintf(line, sizeof line, "%u F%u.%u 0x%04X", static_cast<unsigned>(record.number),
                  static_cast<unsigned>(record.function),
                  static_cast<unsigned>(record.functionNumber),
                  static_cast<unsigned>(record.status));
    return std::string(line) + (record.staleIdentity ? " stale-identity" : "");
}

}  // namespace sim

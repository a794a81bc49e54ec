#include "sim/scanner_model.h"

#include <algorithm>
#include <cstdio>

#include "device/request_blocks.h"
#include "sim/scan_geometry.h"

namespace sim {
namespace {

using blocks::PutU16;

constexpr uint32_t kMaxU16 = 0xFFFF;

struct ImageSize {
    uint32_t lineBytes;
    uint32_t lines;
};

// The remembered area, cut to the bed, at the remembered resolution.
ImageSize ScanImageSize(const ScannerState& state) {
    const ScanParameters& p = state.session.parameters;
    const uint32_t rate = OpticalRate(state.config.resolutionCode);
    const Bed bed = BedSize(state.config.modelPrefix, rate);
    const uint32_t right = std::min<uint32_t>(p.right, bed.width);
    const uint32_t bottom = std::min<uint32_t>(p.bottom, bed.length);
    const uint32_t across = right > p.left ? right - p.left : 0;
    const uint32_t down = bottom > p.top ? bottom - p.top : 0;
    const uint32_t pixels = DdaCount(across, p.resolution, rate);
    return {ImageLineBytes(p.imageType, pixels), DdaCount(down, p.resolution, rate)};
}

size_t CurrentGroup(const ScannerState& state) {
    return IsColourGroup(state.session.parameters.imageType) ? 1 : 0;
}

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

    const size_t group = CurrentGroup(state);
    const ShadingRequest mode = state.config.shadingNeeded;
    const bool needed = mode == ShadingRequest::kAlways ||
                        (mode == ShadingRequest::kUntilSent && !s.shadingReceived[group]);
    block[sp::kShadingNeeded] = needed ? 1 : 0;
    block[sp::kShadingKind] = group == 1 ? 2 : 1;
    block[sp::kThirdResult] = 0;
    return 0;
}

uint16_t StartScan(ScannerState& state, uint8_t* block) {
    ScanSession& s = state.session;
    if (!s.haveParameters) return kRejected;
    const ImageSize size = ScanImageSize(state);
    if (size.lineBytes > kMaxU16 || size.lines > kMaxU16) return kRejected;
    const bool empty = size.lineBytes == 0 || size.lines == 0;
    s.bytesPerLine = static_cast<uint16_t>(empty ? 0 : size.lineBytes);
    s.lines = static_cast<uint16_t>(empty ? 0 : size.lines);
    s.scanning = !empty;
    PutU16(block, blocks::startscan::kBytesPerLine, s.bytesPerLine);
    PutU16(block, blocks::startscan::kLines, s.lines);
    return 0;
}

uint16_t GetShadingSize(const ScannerState& state, uint8_t* block) {
    const ScanSession& s = state.session;
    if (!s.haveParameters) return kRejected;
    const bool colour = CurrentGroup(state) == 1;
    const uint32_t rate = OpticalRate(state.config.resolutionCode);
    const Bed bed = BedSize(state.config.modelPrefix, rate);
    const uint32_t pixels = DdaCount(bed.width, s.parameters.resolution, rate);
    const uint16_t lines = colour ? state.config.shadingLinesColour : state.config.shadingLinesGrey;
    PutU16(block, blocks::shadingsize::kLineBytes,
           static_cast<uint16_t>(ShadingLineBytes(colour, pixels)));
    PutU16(block, blocks::shadingsize::kLines, lines);
    return 0;
}

void SendShadingData(ScannerState& state) {
    if (state.session.haveParameters) state.session.shadingReceived[CurrentGroup(state)] = true;
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
        case blocks::kSendShadingData:
            SendShadingData(state);
            return 0;
        case blocks::kStopScan:
            StopScan(state);
            return 0;
        case blocks::kReadShadingData:
        case blocks::kSendToneTable:
        case blocks::kReadImageData:
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
}

RequestRecord HandleRequest(ScannerState& state, uint32_t function, uint8_t* block) {
    RequestRecord record = CountRequest(state, function);
    if (block == nullptr || function >= kFunctionCount) return Reject(record, block);

    record.status = PresetStatus(state, record);
    if (function == blocks::kInquiry) {
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
    return line;
}

}  // namespace sim

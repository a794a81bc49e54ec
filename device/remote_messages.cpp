#include "device/remote_messages.h"

#include <algorithm>
#include <cstring>

#include "device/request_blocks.h"

namespace remote {

namespace {
constexpr size_t kOwnerNameLimit = 15;
}  // namespace

bool SizesOf(uint32_t code, MessageSizes& sizes) {
    switch (code) {
        case blocks::kInquiry:
            sizes = {1 + blocks::kInquirySize, 1 + blocks::kInquirySize, blocks::kInquirySize};
            return true;
        case blocks::kSetScanParameters:
            sizes = {1 + blocks::kScanParameterSize + 1, 1 + blocks::kScanParameterSize, blocks::kScanParameterSize};
            return true;
        case blocks::kSendToneTable:
            sizes = {1 + blocks::kToneTableSize, 1 + blocks::kToneTableSize, blocks::kToneTableSize};
            return true;
        case blocks::kStartScan:
            sizes = {1 + blocks::kStartScanSize, 1 + blocks::kStartScanSize, blocks::kStartScanSize};
            return true;
        case blocks::kStopScan:
            sizes = {1 + blocks::kStopSize, 1 + blocks::kStopSize, blocks::kStopSize};
            return true;
        case blocks::kGetShadingSize:
            sizes = {1 + blocks::kShadingSizeSize, 1 + blocks::kShadingSizeSize, blocks::kShadingSizeSize};
            return true;
        case blocks::kReadImageData:
            sizes = {1 + blocks::kReadDataSize, 1 + blocks::kReadDataSize, blocks::kReadDataSize};
            return true;
        case blocks::kGetStatus:
            sizes = {1 + blocks::kStatusSize, 1 + blocks::kStatusSize, blocks::kStatusSize};
            return true;
        case blocks::kRemoteCalibrate:
            sizes = {1, 4, 0};
            return true;
        default:
            return false;
    }
}

std::string ShownOwnerName(const char* bytes, size_t length) {
    std::string name;
    for (size_t i = 0; i < length && i < kOwnerNameLimit; ++i)
        if (bytes[i] >= 0x20 && bytes[i] < 0x7F) name += bytes[i];
    return name;
}

bool TakeReply(uint32_t code, const uint8_t* reply, size_t size, uint8_t* block, char (&calibration)[2]) {
    MessageSizes sizes;
    if (!SizesOf(code, sizes) || size != sizes.reply || reply[0] != code) return false;
    const uint8_t* payload = reply + 1;
    if (code == blocks::kReadImageData) {
        std::memcpy(block + blocks::kStatus, payload + blocks::kStatus, 2);
    } else if (code == blocks::kRemoteCalibrate) {
        std::memcpy(calibration, payload, 2);
    } else {
        std::memcpy(block, payload, sizes.payload);
    }
    return true;
}

bool ImageShares(const uint8_t* record, std::vector<ImageShare>& shares) {
    namespace rd = blocks::readdata;
    shares.clear();
    uint32_t remaining = blocks::GetU32(record, rd::kBytes);
    const uint16_t count = blocks::GetU16(record, rd::kRecordCount);
    for (uint16_t i = 0; i < count && i < blocks::kMaxDescriptors && remaining > 0; ++i) {
        const uint8_t* entry = record + rd::kRecordTable + i * blocks::kDescriptorSize;
        const uint32_t share = std::min(remaining, blocks::GetU32(entry, blocks::descriptor::kLength));
        if (share > kStagingBytes) return false;
        shares.push_back({blocks::GetU32(entry, blocks::descriptor::kAddress), share});
        remaining -= share;
    }
    return remaining == 0;
}

}  // namespace remote

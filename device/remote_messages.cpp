#include "device/remote_messages.h"

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

}  // namespace remote

#include "device/byte_amount.h"

std::string FormatByteAmount(uint64_t bytes) {
    if (bytes > 1024) return std::to_string(bytes / 1024) + "K";
    return std::to_string(bytes);
}

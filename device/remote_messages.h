// The messages of the remote scanner protocol: a one-byte function code
// followed by the request block copied byte for byte. There is no length
// field: the size of a message follows from its code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace remote {

// The sizes of the request and reply messages of one function code, code byte
// included; `payload` is the bytes of the request block that travel (message
// 1 adds the calibration-due byte after them). False for a code that has no
// message (2, 3 and above 10).
struct MessageSizes {
    size_t request = 0;
    size_t reply = 0;
    size_t payload = 0;
};
bool SizesOf(uint32_t code, MessageSizes& sizes);

// The longest message of the protocol, code byte included.
constexpr size_t kLongestMessage = 16405;

// Image data of one read arrives through a staging buffer of this size; no
// buffer descriptor may be longer.
constexpr size_t kStagingBytes = 65536;

// The calibration reply that means the peer's calibration failed.
constexpr char kCalibrationFailed[] = "NO";

// The owner name as shown: at most 15 characters, only the printable ones.
std::string ShownOwnerName(const char* bytes, size_t length);

}  // namespace remote

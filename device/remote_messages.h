// The messages of the remote scanner protocol: a one-byte function code
// followed by the request block copied byte for byte. There is no length
// field: the size of a message follows from its code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// What a whole reply of `code` (code byte first, `size` bytes) gives the
// request block: the read's status word only (never its lines done,
// descriptor count or table), the calibration answer nothing (its two bytes
// go to `calibration`), any other code its payload. False, and nothing
// taken, when the reply's code byte is not `code` or its size is not the one
// the code fixes.
bool TakeReply(uint32_t code, const uint8_t* reply, size_t size, uint8_t* block, char (&calibration)[2]);

// One descriptor's share of a read's image data: its 32-bit address and the
// bytes that go there.
struct ImageShare {
    uint32_t address;
    uint32_t bytes;
};

// The shares of the image data a read record announces, in descriptor
// order: each descriptor's length, cut to the bytes still to come. False
// when a share would not fit the staging buffer or the descriptors do not
// take every announced byte: the data cannot be placed, the link is lost.
bool ImageShares(const uint8_t* record, std::vector<ImageShare>& shares);

}  // namespace remote

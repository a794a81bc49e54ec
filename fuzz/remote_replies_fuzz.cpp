// Fuzz target of what the remote peer sends: a reply of a code the input
// chooses, taken into a request block of exactly the size that code's
// request has, and a read record whose image data is shared out over its
// descriptors. A reply may touch only its block (the read reply only the
// status word), and the shares must fit the staging buffer and add up to
// the bytes the record announces.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "device/remote_messages.h"
#include "device/request_blocks.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Input input(data, size);
    const uint32_t code = input.Take(1);
    remote::MessageSizes sizes;
    if (remote::SizesOf(code, sizes)) {
        fuzzing::Require(sizes.reply >= 1 && sizes.reply <= remote::kLongestMessage);
        fuzzing::Require(sizes.request <= remote::kLongestMessage);
        std::vector<uint8_t> reply(sizes.reply, 0);
        std::memcpy(reply.data(), input.rest(), std::min(reply.size(), input.restSize()));
        // The block as long as the payload travels, the read record whole.
        const size_t blockSize = code == blocks::kReadImageData ? blocks::kReadDataRecordSize : sizes.payload;
        std::vector<uint8_t> block(blockSize, 0xA5);
        char calibration[2] = {};
        if (remote::TakeReply(code, reply.data(), reply.size(), block.data(), calibration)) {
            fuzzing::Require(reply[0] == code);
            if (code == blocks::kReadImageData)
                for (size_t i = 0; i < block.size(); ++i)
                    if (i != blocks::kStatus && i != blocks::kStatus + 1) fuzzing::Require(block[i] == 0xA5);
        }
    }

    std::vector<uint8_t> record(blocks::kReadDataRecordSize, 0);
    std::memcpy(record.data(), input.rest(), std::min(record.size(), input.restSize()));
    std::vector<remote::ImageShare> shares;
    if (remote::ImageShares(record.data(), shares)) {
        uint64_t total = 0;
        for (const remote::ImageShare& share : shares) {
            fuzzing::Require(share.bytes <= remote::kStagingBytes);
            total += share.bytes;
        }
        fuzzing::Require(total == blocks::GetU32(record.data(), blocks::readdata::kBytes));
        fuzzing::Require(shares.size() <= blocks::kMaxDescriptors);
    }
    return 0;
}

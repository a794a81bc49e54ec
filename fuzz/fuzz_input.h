// Taking a fuzz input apart: leading control bytes, then the rest as the
// data under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace fuzzing {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    // The next n bytes as a little-endian number; 0 once the input ran out.
    uint32_t Take(size_t n) {
        uint32_t value = 0;
        for (size_t i = 0; i < n && used_ < size_; ++i) value |= static_cast<uint32_t>(data_[used_++]) << (8 * i);
        return value;
    }

    const uint8_t* rest() const { return data_ + used_; }
    size_t restSize() const { return size_ - used_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};

// A broken promise of the code under test: the fuzzer reports it as a crash.
inline void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace fuzzing

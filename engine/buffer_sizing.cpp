#include "engine/buffer_sizing.h"

#include <algorithm>

uint32_t FirstBufferSize(uint32_t lineBytes, uint32_t lines, bool defaultDriver, uint32_t cap) {
    uint64_t image = static_cast<uint64_t>(lineBytes) * lines;
    uint64_t size = std::max<uint64_t>(image, defaultDriver ? lineBytes : kDriverGranule);
    size = std::min<uint64_t>(size, cap);
    if (!defaultDriver && size > kDriverGranule) size = (size + kDriverGranule) / kDriverGranule * kDriverGranule;
    return static_cast<uint32_t>(size);
}

uint32_t ShrunkBufferSize(uint32_t size, uint32_t lineBytes, bool defaultDriver) {
    uint32_t step = defaultDriver ? lineBytes : kDriverGranule;
    uint32_t floor = defaultDriver ? lineBytes : kDriverGranule;
    if (step == 0 || size < step || size - step < floor) return 0;
    return size - step;
}

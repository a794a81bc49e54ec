// Fuzz target of the region detection: the input is a control byte (bits 0-1
// the scan source, bit 2 the 60-dpi preview), the preview file's length as a
// little-endian u32, the preview file, and the rest as the picture of the
// empty lid. Whatever the files hold, the detection ends with at most 28
// regions inside the picture.
#include <cstddef>
#include <cstdint>

#include "engine/region_detection.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Input input(data, size);
    const uint32_t control = input.Take(1);
    const size_t previewSize = input.Take(4);
    const size_t available = input.restSize();
    const uint8_t* preview = input.rest();
    const size_t taken = previewSize < available ? previewSize : available;
    detection::Prescan prescan;
    prescan.scanSource = static_cast<int>(control & 3);
    prescan.hiRes = (control & 4) != 0;
    prescan.previewScale = 11.7 / 351;
    const detection::Result result =
        detection::DetectRegionsInFiles(preview, taken, preview + taken, available - taken, prescan);
    fuzzing::Require(result.regions.size() <= detection::kMaxRegions);
    for (const detection::Region& r : result.regions) {
        fuzzing::Require(r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom);
        fuzzing::Require(r.right <= 4096 && r.bottom <= 4096);
    }
    return 0;
}

// Fuzz target of the batch file reader: the input is the text of a batch
// file's section ("key=value" lines). Whatever it says, the job count stays
// within 1 .. 28 and every job's frame is ordered and lies on the bed.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "engine/batch_file_keys.h"
#include "fuzz/fuzz_input.h"
#include "settings/scan_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::map<std::string, std::string> keys;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 1;
    }
    const KeyLookup lookup = [&keys](const std::string& key) -> std::optional<std::string> {
        auto found = keys.find(key);
        if (found == keys.end()) return std::nullopt;
        return found->second;
    };

    const size_t jobs = ReadTotalJobs(lookup);
    fuzzing::Require(jobs >= 1 && jobs <= 28);
    const ScanSettings base = DefaultScanSettings();
    for (size_t i = 0; i < jobs; ++i) {
        const BatchJob job = ReadBatchJob(lookup, static_cast<int>(i), base, base.tone);
        fuzzing::Require(job.frame[0] >= 0 && job.frame[0] <= job.frame[2] && job.frame[2] <= kBedWidthUnits);
        fuzzing::Require(job.frame[1] >= 0 && job.frame[1] <= job.frame[3] && job.frame[3] <= kBedLengthUnits);
    }
    return 0;
}

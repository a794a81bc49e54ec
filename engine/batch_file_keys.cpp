#include "engine/batch_file_keys.h"

#include <algorithm>
#include <cstdlib>

#include "profile/value_format.h"
#include "settings/file_record.h"

namespace {

constexpr size_t kFieldWidth = 5;  // "%-5d"
constexpr int kBatchFileType = 1;

std::string SelectRectKey(int i) { return "SelectRect" + std::to_string(i); }

}  // namespace

KeyValues BatchHeaderValues(size_t jobCount) {
    return {{"FileType", FileTypeText(kBatchFileType)}, {"TotalJobs", std::to_string(jobCount)}};
}

KeyValues BatchJobValues(const BatchJob& job, int i) {
    ScanSettings settings;
    ToneSettings tone;
    ApplyJobToSettings(job, settings, tone);
    KeyValues values = FileRecordValues(settings, tone, i);
    values.emplace_back(SelectRectKey(i),
                        FormatFields({job.frame[0], job.frame[1], job.frame[2], job.frame[3]}, kFieldWidth));
    return values;
}

size_t ReadTotalJobs(const KeyLookup& lookup) {
    const std::string text = ReadKeyText(lookup, "TotalJobs", "1", kFieldWidth);
    char* end = nullptr;
    const long count = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str()) return 1;
    return static_cast<size_t>(std::clamp<long>(count, 1, static_cast<long>(kMaxStoredJobs)));
}

BatchJob ReadBatchJob(const KeyLookup& lookup, int i, const ScanSettings& base, const ToneSettings& baseTone) {
    ScanSettings settings = base;
    ToneSettings tone = baseTone;
    ReadFileRecord(lookup, i, settings, tone);
    const std::vector<int32_t> fields =
        ReadKeyFields(lookup, SelectRectKey(i), "00000000000000000000", 4, kFieldWidth, kFieldWidth);
    int32_t frame[4] = {fields[0], fields[1], fields[2], fields[3]};
    NormaliseJobFrame(frame);
    return JobFromSettings(settings, tone, frame);
}

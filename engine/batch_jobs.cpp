#include "engine/batch_jobs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "resources/resource_ids.h"

namespace {

constexpr int kQualityStep = 5;
constexpr int kQualityFirstIndex = 2;  // quality factor 10 is index 0
constexpr int kMaxNameTries = 100000;  // numbers tried past existing files

uint16_t FrameEdge(int32_t value) { return static_cast<uint16_t>(std::clamp<int32_t>(value, 0, UINT16_MAX)); }

}  // namespace

BatchJob JobFromSettings(const ScanSettings& s, const ToneSettings& tone, const int32_t (&frame)[4]) {
    BatchJob job{};
    job.sourceId = s.sourceId;
    job.colourKind = static_cast<uint8_t>(s.colourKind);
    job.scanMode = s.scanMode;
    job.resolution = s.resolution;
    job.dpiScale = s.dpiScale;
    std::copy(std::begin(frame), std::end(frame), job.frame);
    job.status = JobStatus::Waiting;
    job.unit = s.unit;
    job.scanSource = s.scanSource;
    job.filterMode = s.filterMode;
    job.prescanHiRes = s.prescanHiRes;
    job.descreenActive = s.descreenActive ? 1 : 0;
    job.destinationIndex = static_cast<uint8_t>(s.destination - kDestMonitor);
    job.qualityIndex = static_cast<uint8_t>(s.qualityFactor / kQualityStep - kQualityFirstIndex);
    job.descreenIndex = static_cast<uint8_t>(s.descreen - kDescreenNone);
    job.outputMatch = s.outputMatch;
    job.scaling = s.scaling;
    std::snprintf(job.dpiText, sizeof job.dpiText, "%d\t ", s.resolution);
    job.tone = tone;
    job.velocity = s.velocity;
    return job;
}

void ApplyJobToSettings(const BatchJob& job, ScanSettings& s, ToneSettings& savedTone) {
    s.sourceId = job.sourceId;
    s.colourKind = job.colourKind;
    s.scanMode = job.scanMode;
    s.isColour = job.scanMode == kModeColour;
    s.resolution = job.resolution;
    s.dpiScale = job.dpiScale;
    for (int i = 0; i < 4; ++i) s.frame[i] = FrameEdge(job.frame[i]);
    s.unit = job.unit;
    s.scanSource = static_cast<uint8_t>(job.scanSource);
    s.filterMode = job.filterMode;
    s.prescanHiRes = static_cast<uint16_t>(job.prescanHiRes);
    s.descreenActive = job.descreenActive != 0;
    s.destination = static_cast<uint16_t>(kDestMonitor + job.destinationIndex);
    s.qualityFactor = static_cast<uint16_t>((job.qualityIndex + kQualityFirstIndex) * kQualityStep);
    s.descreen = static_cast<uint16_t>(kDescreenNone + job.descreenIndex);
    s.outputMatch = static_cast<uint16_t>(job.outputMatch);
    s.scaling = job.scaling;
    s.velocity = static_cast<uint8_t>(job.velocity);
    s.tone = job.tone;
    savedTone = job.tone;
}

void NormaliseJobFrame(int32_t (&frame)[4]) {
    if (frame[0] > frame[2]) std::swap(frame[0], frame[2]);
    if (frame[1] > frame[3]) std::swap(frame[1], frame[3]);
    frame[0] = std::clamp(frame[0], 0, kBedWidthUnits);
    frame[2] = std::clamp(frame[2], 0, kBedWidthUnits);
    frame[1] = std::clamp(frame[1], 0, kBedLengthUnits);
    frame[3] = std::clamp(frame[3], 0, kBedLengthUnits);
}

bool InsertJob(BatchList& list, const BatchJob& job) {
    if (list.jobs.size() >= kMaxBatchJobs) return false;
    const size_t at = list.jobs.empty() ? 0 : std::min(list.current + 1, list.jobs.size());
    list.jobs.insert(list.jobs.begin() + static_cast<std::ptrdiff_t>(at), job);
    list.current = at;
    return true;
}

bool DeleteSelectedJob(BatchList& list) {
    if (list.jobs.size() < 2) return false;
    list.jobs.erase(list.jobs.begin() + static_cast<std::ptrdiff_t>(list.current));
    list.current = std::min(list.current, list.jobs.size() - 1);
    return true;
}

bool SwapSelectedWithNext(BatchList& list) {
    if (list.current + 1 >= list.jobs.size()) return false;
    std::swap(list.jobs[list.current], list.jobs[list.current + 1]);
    return true;
}

bool AdvanceBatch(BatchList& list, bool lastFailed) {
    if (list.jobs.empty()) {
        list.running = false;
        return false;
    }
    if (!list.running) {
        for (BatchJob& job : list.jobs) job.status = JobStatus::Waiting;
        list.current = 0;
        list.running = true;
    } else {
        list.jobs[list.current].status = lastFailed ? JobStatus::Cancelled : JobStatus::Done;
        ++list.current;
    }
    if (list.current >= list.jobs.size()) {
        list.current = list.jobs.size() - 1;
        list.running = false;
        return false;
    }
    list.jobs[list.current].status = JobStatus::Scanning;
    return true;
}

void AbortBatchRun(BatchList& list) {
    for (size_t i = list.current; i < list.jobs.size(); ++i) {
        if (list.jobs[i].status != JobStatus::Done) list.jobs[i].status = JobStatus::Cancelled;
    }
    if (!list.jobs.empty()) list.current = list.jobs.size() - 1;
    list.running = false;
}

std::string NextJobFileName(BatchList& list, const std::string& directory, const std::string& extension,
                            const std::function<bool(const std::string&)>& exists) {
    for (int tries = 0; tries < kMaxNameTries; ++tries) {
        ++list.fileCounter;
        std::string name = directory + "File" + std::to_string(list.fileCounter) + extension;
        if (name.size() >= sizeof BatchJob{}.fileName) return {};
        if (!exists(name)) return name;
    }
    return {};
}

int JobModeTextNumber(uint16_t scanMode, uint16_t colourKind) {
    switch (scanMode) {
        case kModeLineArt: return TXT_MODE_LINEART;
        case kModeFastGray: return TXT_MODE_FASTGRAY;
        case kModeGray: return TXT_MODE_GRAY;
        default: return colourKind == kColourCmyk || colourKind == kColour36 ? 0 : TXT_MODE_24BIT;
    }
}

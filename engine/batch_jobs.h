// The batch scan job list: one record per job with its frame and settings,
// the block of jobs with the selected one, and the steps of a batch run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/scan_settings.h"

enum class JobStatus : uint8_t { Waiting = 0, Scanning = 1, Done = 2, Cancelled = 3 };

// One job, 528 bytes. Byte fields store settings as offsets from their first
// value (destination - 1021, quality factor / 5 - 2, descreen - 1017).
struct BatchJob {
    char fileName[128];  // output file of Scan To File, zero-terminated
    uint16_t reserved128;
    uint16_t sourceId;
    uint8_t colourKind;
    uint8_t reserved133[3];
    uint16_t scanMode;
    uint16_t resolution;
    uint16_t dpiScale;
    uint16_t reserved142;
    int32_t frame[4];  // left, top, right, bottom in preview units
    JobStatus status;
    uint8_t reserved161[3];
    uint32_t unit;
    uint16_t scanSource;  // the main page's source list
    uint16_t filterMode;
    uint32_t prescanHiRes;  // the preview's resolution the frame was drawn on
    uint32_t descreenActive;
    uint8_t destinationIndex;
    uint8_t qualityIndex;
    uint8_t descreenIndex;
    uint8_t reserved183;
    uint32_t outputMatch;
    uint16_t scaling;
    char dpiText[258];  // the DPI column: resolution as "%d\t "
    ToneSettings tone;
    uint32_t reserved500[2];
    int32_t reserved508[4];
    uint32_t velocity;  // the speed byte
};
static_assert(sizeof(BatchJob) == 528);
static_assert(offsetof(BatchJob, sourceId) == 130);
static_assert(offsetof(BatchJob, colourKind) == 132);
static_assert(offsetof(BatchJob, scanMode) == 136);
static_assert(offsetof(BatchJob, resolution) == 138);
static_assert(offsetof(BatchJob, dpiScale) == 140);
static_assert(offsetof(BatchJob, frame) == 144);
static_assert(offsetof(BatchJob, status) == 160);
static_assert(offsetof(BatchJob, unit) == 164);
static_assert(offsetof(BatchJob, scanSource) == 168);
static_assert(offsetof(BatchJob, filterMode) == 170);
static_assert(offsetof(BatchJob, prescanHiRes) == 172);
static_assert(offsetof(BatchJob, descreenActive) == 176);
static_assert(offsetof(BatchJob, destinationIndex) == 180);
static_assert(offsetof(BatchJob, qualityIndex) == 181);
static_assert(offsetof(BatchJob, descreenIndex) == 182);
static_assert(offsetof(BatchJob, outputMatch) == 184);
static_assert(offsetof(BatchJob, scaling) == 188);
static_assert(offsetof(BatchJob, dpiText) == 190);
static_assert(offsetof(BatchJob, tone) == 448);
static_assert(offsetof(BatchJob, reserved500) == 500);
static_assert(offsetof(BatchJob, reserved508) == 508);
static_assert(offsetof(BatchJob, velocity) == 524);

// At most 29 jobs in the list; a batch file or a region detection gives at
// most 28.
constexpr size_t kMaxBatchJobs = 29;
constexpr size_t kMaxStoredJobs = 28;

// The bed in preview units: frames are clipped to it.
constexpr int32_t kBedWidthUnits = 351;
constexpr int32_t kBedLengthUnits = 510;

// A job of the settings `s` with the tone block `tone` and `frame`, waiting,
// without file name.
BatchJob JobFromSettings(const ScanSettings& s, const ToneSettings& tone, const int32_t (&frame)[4]);

// The job's settings, tone block and frame put into `s` (its tone block too)
// and `savedTone`; the other fields of `s` stay.
void ApplyJobToSettings(const BatchJob& job, ScanSettings& s, ToneSettings& savedTone);

// Left <= right and top <= bottom, every edge inside the bed.
void NormaliseJobFrame(int32_t (&frame)[4]);

// The list and the state of its run.
struct BatchList {
    std::vector<BatchJob> jobs;
    size_t current = 0;     // the selected job; during a run the one scanning
    bool running = false;   // a batch run is in progress
    int fileCounter = 0;    // the number of the last generated file name
};

// Inserts `job` after the selected one (appends after the last) and selects
// it. False, the list unchanged, when it holds 29 jobs already.
bool InsertJob(BatchList& list, const BatchJob& job);

// Removes the selected job when more than one exists; the selection stays at
// its position (or the new last job).
bool DeleteSelectedJob(BatchList& list);

// Swaps the selected job with the next one; false on the last job.
bool SwapSelectedWithNext(BatchList& list);

// The step before each scan of a run. Starting a run (none in progress)
// resets every status and begins at the first job; otherwise the job just
// scanned becomes done, or cancelled when `lastFailed`, and the next one
// follows. True with `current` marked scanning when a job is to be scanned;
// false when the run has ended (the last job selected, `running` cleared).
bool AdvanceBatch(BatchList& list, bool lastFailed);

// Stops a run: every job from the current one on that is not done becomes
// cancelled, the last job is selected, `running` is cleared.
void AbortBatchRun(BatchList& list);

// The output file name of a new job: `directory` (with its trailing
// backslash) + "File" + number + `extension`, the number the counter
// incremented first and moved on past every name `exists` reports. Empty
// when the name would not fit the record (128 characters or more).
std::string NextJobFileName(BatchList& list, const std::string& directory, const std::string& extension,
                            const std::function<bool(const std::string&)>& exists);

// The mode column's text number for the mode (1011..1013, 24-bit colour);
// 0 for CMYK and 36-bit colour, whose texts are fixed.
int JobModeTextNumber(uint16_t scanMode, uint16_t colourKind);

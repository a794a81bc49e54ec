// The keys of a batch file ("*.SET"): FileType 1, TotalJobs and, for each job
// i, the settings record i of the settings files and "SelectRect" + i, the
// job's frame as four "%-5d" fields.
#pragma once

#include <string>

#include "engine/batch_jobs.h"
#include "settings/key_lookup.h"

// FileType and TotalJobs.
KeyValues BatchHeaderValues(size_t jobCount);

// Record i of `job` followed by its SelectRect.
KeyValues BatchJobValues(const BatchJob& job, int i);

// TotalJobs as stored (default 1): a text that does not start with a number
// counts as 1, and the count is kept to 1 .. 28.
size_t ReadTotalJobs(const KeyLookup& lookup);

// Job i: record i read over `base` (keys it lacks keep the values of `base`)
// with the frame of SelectRect i (default all zero) normalised and clipped
// to the bed.
BatchJob ReadBatchJob(const KeyLookup& lookup, int i, const ScanSettings& base, const ToneSettings& baseTone);

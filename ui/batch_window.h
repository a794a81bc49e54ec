// The batch scan job list "BSCAN" ("BSCAN_C" in the Chinese languages): a
// modeless window owned by the main dialog that lists the scan jobs, each a
// frame on the preview with its own settings, and runs them one after
// another from the main dialog's Scan command.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/batch_jobs.h"

struct BatchWindowState {
    HWND window = nullptr;
    BatchList list;
    bool expanded = false;    // the status line shows
    bool deleteDown = false;  // the Delete button's blink
};

extern BatchWindowState g_batchWindow;

// Opens the list beside `mainDialog`, empty; when it is open already, it is
// brought forward and its selected job takes the current settings.
void OpenBatchWindow(HWND mainDialog);

// The preview tool bar's Batch Scan: opens the list, or closes it unless a
// batch runs.
void ToggleBatchWindow(HWND mainDialog);

// Destroys the window and frees the jobs. Safe to call when it is closed.
void CloseBatchWindow();

// The selected job takes the current settings, tone block and frame (after a
// change in the main dialog or the preview); nothing while a run is in
// progress or the list is closed.
void UpdateCurrentBatchJob();

// Adds a job with `frame` (preview units) and the current settings after the
// selected one and selects it, while fewer than 29 exist.
void AddBatchRegion(const std::array<int32_t, 4>& frame);

// The jobs replaced by one per frame, at most 28: DeleteJob leaves one job,
// the first frame becomes that job, each further frame a job after it.
void ReplaceBatchJobs(const std::vector<std::array<int32_t, 4>>& frames);

// The list replaced by `jobs` (a loaded batch file), the first selected and
// its settings applied.
void ReplaceJobList(const std::vector<BatchJob>& jobs);

// Redraws line `index` of the list from its job (after a status change).
void RedrawJobLine(size_t index);

// The selected job's settings and tone block become the dialog's; the pages
// and the preview show them.
void ApplySelectedJob();

// Enables or disables the list's own controls (all of them during a run)
// and the Delete and close buttons' pictures.
void EnableBatchControls();

// The run of the batch list, driven by the main dialog's Scan command: each
// press scans the next job; timer 3 presses it again after a transfer.
#pragma once

#include <windows.h>

// Before each scan while the list is open. The first press of a run selects
// the first job (a finished or aborted run starts again with every status
// reset); later presses mark the job just scanned done, or cancelled after a
// failure. True with the next job's settings applied when a job is to be
// scanned; false when the run has ended (the main dialog's buttons come
// back) or the scanner did not answer the inquiry (the run is aborted).
bool AdvanceJob();

// Escape during a batch scan, or a scan refused before it started: timer 3
// stopped, every remaining job cancelled, the main dialog's buttons back.
void AbortBatch();

bool BatchRunning();

// Main-dialog timer 3: the next job is scanned once no scan is in progress.
void BatchContinueTick(HWND dialog);

// Scan To File, inside the host's last memory-transfer call: the finished
// scan goes to its job's file, then the next job's scan is started. True
// when a scan started whose image the caller must write out; false when the
// run is over.
bool NextBatchEntryToFile();

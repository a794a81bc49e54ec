// Reading the scanner while the host transfers: the shared scan buffer, reads
// in chunks, lines located across the driver's descriptors, the message pump
// with the Escape cancel, progress, and the reports of failures.
#pragma once

#include <cstdint>

// Allocates the scan buffer (with shrink-and-retry) and has the driver
// describe it. On failure reports TWCC_LOWMEMORY with text 604 and stops the
// scanner; returns false.
bool AllocateScanBuffer();
void FreeScanBuffer();

// Reads the next chunk (as many lines as the buffer holds). A status 0x8321
// repeats the read once; any other status, or 0x8321 again, stops the
// scanner, reports the status and frees the buffer. Returns false on failure.
bool ReadChunk();

// The address of image line `line` (0-based, within the last chunk), after
// the slow-speed pacing when it is on.
uint8_t* LocateLine(uint32_t line);

// Removes and dispatches every waiting message; the Escape key cancels. When
// a cancel is requested (now or before) the scan is stopped, the return code
// becomes TWRC_CANCEL and true is returned. Runs before every chunk read.
bool PumpAndCheckCancel();

// The same between chunks (memory blocks, rows of a whole-image pass), but
// the queue is only emptied once kPumpIntervalMs have passed since the last
// pump: looking into an empty queue is a round trip to the window system on
// some platforms, and hosts ask for blocks far more often than a person can
// press a key or a window needs painting.
constexpr uint32_t kPumpIntervalMs = 10;
bool PumpWhenDueAndCheckCancel();

// Shows `count` of the job's lines as done, with text `textId` (only when the
// user interface is shown). At 100 % the window closes and the engine waits
// while the carriage returns.
void ShowProgress(uint32_t count, int textId);

// Shows `done` of `total` as done, with text `textId`, for the processing
// steps after the reads (no wait for the carriage; the window closes at
// 100 %). The window is redrawn only when the percentage changes.
void ShowStepProgress(uint32_t done, uint32_t total, int textId);
void DestroyProgressWindow();

// Shows `textId` (owned by the main dialog), closes the progress window, sets
// the condition code and TWRC_FAILURE.
void ScanFailed(uint16_t conditionCode, int textId);

// A scanner status word of a scan request: its message through ScanFailed
// with TWCC_OPERATIONERROR, then the scanner is stopped.
void ShowStatusError(uint16_t status);

// After the last line: polls the scanner until it is ready (a fault shows 629).
void WaitForScannerIdle();

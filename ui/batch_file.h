// Saving and loading the batch list as a batch file ("*.SET") through the
// settings-file dialogs in batch mode.
#pragma once

#include <windows.h>

// The dialogs "SAVE_SET" and "LOAD_SET" for batch files; 1 after a
// successful save or load, else 0.
int RunSaveBatchDialog(HWND owner);
int RunLoadBatchDialog(HWND owner);

// The dialogs' steps for the name typed in `dialog`. Save: the file is made
// anew with FileType, TotalJobs and every job's record and frame; a write
// that fails shows message 616. Load: the list is replaced by the file's
// jobs (at most 28, frames clipped to the bed) and the first is selected.
bool SaveBatch(HWND dialog, const char* extension);
bool LoadBatch(HWND dialog, const char* extension);

// The output files of the batch jobs (Scan To File): their names, the user's
// own name for one, and the copy of a finished scan into it.
#pragma once

#include <windows.h>

#include "engine/batch_jobs.h"

// Names the job's output file in the temporary directory: "File" + the next
// number of the list + ".TIF", past every file that exists already. A name
// too long for the record shows message 633 and returns false.
bool NameJobFile(BatchJob& job);

// "Rename": the selected job's output file chosen by the user.
void RenameJobFile();

// Copies the finished scan (the work file of the transfer) to the current
// job's output file. A copy that fails sets the batch error, so the job
// shows as cancelled.
void CopyToJobFile();

// After a prescan with the batch list open: every item found on the preview
// becomes a batch job with its own frame.
#pragma once

#include <windows.h>

// Replaces the jobs by one per item found on the preview just taken (the one
// job DeleteJob leaves when nothing is found). A missing or broken picture
// of the empty lid shows text 619.
void MakeBatchJobsFromPreview(HWND dialog);

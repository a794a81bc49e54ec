// DAT_PENDINGXFERS with the batch and automatic-feed steps around it.
#pragma once

void PendingXfersWithBatchSteps();

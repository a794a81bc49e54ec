// What the transfer bodies share: the set-up of a memory or file transfer,
// the chunk reads of the whole-image transfers and the image geometry.
#include "engine/delivery_state.h"
#include "engine/job_state.h"
#include "engine/read_machinery.h"
#include "engine/settings_record.h"
#include "resources/resource_ids.h"

DeliveryState g_delivery;

bool SetUpDelivery() {
    ShowProgress(0, TXT_INIT_SCANNER);
    g_delivery.rowsDelivered = 0;
    g_delivery.chunkRowsLeft = 0;
    g_delivery.outRowBytes = g_job.bytesPerScanLine;
    if (!AllocateScanBuffer()) return false;
    g_job.newImage = false;
    return true;
}

bool ReadNextChunk() {
    if (PumpAndCheckCancel() || !ReadChunk()) return false;
    g_job.progressCount = static_cast<uint16_t>(g_job.progressCount + g_job.chunkLines);
    ShowProgress(g_job.progressCount, TXT_SCANNING);
    return true;
}

fileheaders::ImageGeometry JobGeometry() {
    return {g_scanSettings.scanMode, g_scanSettings.colourKind, g_job.pixelsPerLine,   g_job.lines,
            g_job.bytesPerScanLine,  g_job.bytesPerRow,         g_scanSettings.resolution};
}

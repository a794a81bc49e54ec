// What the transfer bodies share: the set-up of a memory or file transfer,
// the chunk reads of the whole-image transfers and the delivered geometry.
#include "engine/delivery_state.h"
#include "engine/job_state.h"
#include "engine/processing.h"
#include "engine/read_machinery.h"
#include "resources/resource_ids.h"
#include "session/image_setup.h"
#include "settings/settings_record.h"

DeliveryState g_delivery;

bool SetUpDelivery() {
    ShowProgress(0, TXT_INIT_SCANNER);
    g_delivery.rowsDelivered = 0;
    g_delivery.chunkRowsLeft = 0;
    resample::ReleaseCarryRow(g_processing.carry);
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

fileheaders::ImageGeometry DeliveredGeometry() {
    const processing::ProcessingPlan& plan = g_processing.plan;
    return {g_scanSettings.scanMode,
            g_scanSettings.colourKind,
            static_cast<int32_t>(plan.pixels),
            static_cast<int32_t>(plan.rows),
            plan.rowBytes,
            (plan.rowBytes + 3) & ~3u,
            static_cast<uint32_t>(g_setup.imageInfo.XResolution.Whole)};
}

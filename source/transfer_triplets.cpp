// The triplet side of the three image transfers: state checks, the host's
// buffer, and what follows the body by its return code.
#include <vector>

#include "device/dialog_link.h"
#include "engine/processing.h"
#include "engine/transfer.h"
#include "session/nested_calls.h"
#include "session/notify.h"
#include "session/session.h"
#include "settings/host_rules.h"
#include "source/handlers.h"

namespace {

// What follows every transfer body, by its return code. After the last
// block of a memory transfer the picture publisher (protocol x.5) gets its
// batch timer at MSG_ENDXFER instead.
void AfterTransfer(bool memory) {
    g_twain.imageDelivered = g_twain.returnCode == TWRC_XFERDONE;
    switch (g_twain.returnCode) {
        case TWRC_FAILURE:
            g_dialogLink.endOfScan();
            EndOfTransfer();
            PostCloseRequest();
            break;
        case TWRC_CANCEL:
            g_dialogLink.endOfScan();
            EndOfTransfer();
            break;
        case TWRC_XFERDONE:
            if (!g_twain.batchListOpen || (memory && g_twain.batchToFile))
                g_dialogLink.endOfScan();
            else if (!memory || !(HostIsPicturePublisher() && g_twain.appIdentity.ProtocolMinor == 5))
                g_dialogLink.continueBatch(2000);
            EndOfTransfer();
            break;
        default:
            break;
    }
}

// Scan To File: the rest of the batch run happens inside the host's last
// memory call. Each further entry's scan goes whole into the work file
// through one run of the body, into a buffer of the source's own; the host
// sees only its own image, so its codes, record and state are kept.
void ScanRestOfBatchToFile(uint32_t length) {
    const TW_UINT16 returnCode = g_twain.returnCode;
    const TW_UINT16 conditionCode = g_twain.conditionCode;
    const TW_IMAGEMEMXFER record = g_twain.memXferRecord;
    const TW_UINT16 state = g_twain.sourceState;
    std::vector<uint8_t> buffer(length);
    g_twain.batchScanInTransfer = true;
    while (g_dialogLink.nextBatchEntryToFile()) MemoryTransfer(buffer.data(), length);
    g_twain.batchScanInTransfer = false;
    g_twain.returnCode = returnCode;
    g_twain.conditionCode = conditionCode;
    g_twain.memXferRecord = record;
    g_twain.sourceState = state;
}

bool RefuseOutOfState(int state) {
    if (g_twain.sourceState == state * 100) return false;
    g_dialogLink.endOfScan();
    Fail(TWCC_SEQERROR);
    return true;
}

// The host may call any of the three bodies, whatever mechanism it
// negotiated. One the image cannot take (CMYK or 36-bit colour as a bitmap
// or a file) is the host's sequence error: the image waits for a body that
// can take it, and the session goes on.
bool RefuseDelivery(processing::Delivery delivery) {
    if (PlanDeliveryFor(delivery)) return false;
    g_dialogLink.endOfScan();
    Fail(TWCC_SEQERROR);
    return true;
}

}  // namespace

void NativeXfer() {
    g_twain.returnCode = TWRC_XFERDONE;
    if (RefuseOutOfState(6)) return;
    if (RefuseDelivery(processing::Delivery::kNative)) {
        *CallData<TW_HANDLE>() = 0;
        return;
    }
    g_twain.conditionCode = TWCC_SUCCESS;
    const RunningBody running;
    auto* handle = CallData<TW_HANDLE>();
    *handle = NativeTransfer();
    AfterTransfer(false);
    g_twain.sourceState = kState7;
}

void FileXfer() {
    g_twain.returnCode = TWRC_XFERDONE;
    if (RefuseOutOfState(6) || RefuseDelivery(processing::Delivery::kFile)) return;
    g_twain.conditionCode = TWCC_SUCCESS;
    const RunningBody running;
    FileTransfer();
    AfterTransfer(false);
    g_twain.sourceState = kState7;
}

void MemXfer() {
    if (g_twain.sourceState != kState6 && g_twain.sourceState != kState7) {
        g_dialogLink.endOfScan();
        Fail(TWCC_SEQERROR);
        return;
    }
    auto* host = CallData<TW_IMAGEMEMXFER>();
    // The whole image went out already: nothing is left to transfer.
    if (g_twain.sourceState == kState7 && !TransferInProgress()) {
        Fail(TWCC_SEQERROR);
        return;
    }
    const TW_MEMORY memory = host->Memory;
    uint8_t* buffer = nullptr;
    HGLOBAL handle = nullptr;
    if (memory.Flags == (TWMF_APPOWNS | TWMF_POINTER)) {
        buffer = TwainPointer<uint8_t*>(memory.TheMem);
    } else if (memory.Flags == (TWMF_APPOWNS | TWMF_HANDLE)) {
        handle = TwainPointer<HGLOBAL>(memory.TheMem);
        if (handle && memory.Length > GlobalSize(handle)) {
            Fail(TWCC_BADVALUE);
            return;
        }
        buffer = handle ? static_cast<uint8_t*>(GlobalLock(handle)) : nullptr;
        if (handle && !buffer) {
            Fail(TWCC_SEQERROR);
            return;
        }
    }
    if (!buffer) {
        Fail(TWCC_BADVALUE);
        return;
    }
    if (RefuseDelivery(processing::Delivery::kMemory)) {
        if (handle) GlobalUnlock(handle);
        return;
    }
    g_twain.conditionCode = TWCC_SUCCESS;
    const RunningBody running;
    g_twain.memXferRecord = *host;
    MemoryTransfer(buffer, memory.Length);
    g_twain.memXferRecord.Memory = memory;
    *host = g_twain.memXferRecord;
    if (handle) GlobalUnlock(handle);
    if (g_twain.returnCode == TWRC_XFERDONE && g_twain.batchListOpen && g_twain.batchToFile)
        ScanRestOfBatchToFile(memory.Length);
    AfterTransfer(true);
    g_twain.sourceState = kState7;
}

// DAT_IMAGEINFO, DAT_IMAGELAYOUT, DAT_SETUPMEMXFER, DAT_SETUPFILEXFER,
// DAT_XFERGROUP and DAT_PENDINGXFERS.
#include "session/image_setup.h"

#include <cstring>

#include "engine/transfer.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "source/handlers.h"

namespace {

constexpr TW_UINT32 kMemoryBlockSize = 65536;

// Every handler starts with success and, in a legal state, condition 0.
bool Legal(int first, int last) {
    g_twain.returnCode = TWRC_SUCCESS;
    if (!StateBetween(first, last)) {
        Fail(TWCC_SEQERROR);
        return false;
    }
    g_twain.conditionCode = TWCC_SUCCESS;
    return true;
}

bool NameTerminated(const TW_SETUPFILEXFER& setup) {
    return std::memchr(setup.FileName, '\0', sizeof setup.FileName) != nullptr;
}

}  // namespace

void ImageInfo() {
    if (Legal(6, 6)) *CallData<TW_IMAGEINFO>() = g_setup.imageInfo;
}

void ImageLayout() {
    auto* layout = CallData<TW_IMAGELAYOUT>();
    switch (g_twain.callMsg) {
        case MSG_GET:
            if (Legal(4, 6)) *layout = g_setup.layoutCurrent;
            break;
        case MSG_GETDEFAULT:
            if (Legal(4, 6)) *layout = g_setup.layoutDefault;
            break;
        case MSG_SET:
            if (Legal(4, 4)) g_setup.layoutCurrent = *layout;
            break;
        case MSG_RESET:
            if (!Legal(4, 4)) break;
            g_setup.layoutCurrent = g_setup.layoutDefault;
            *layout = g_setup.layoutCurrent;
            break;
    }
}

void SetupMemXfer() {
    if (!Legal(4, 6)) return;
    auto* setup = CallData<TW_SETUPMEMXFER>();
    setup->MinBufSize = setup->MaxBufSize = setup->Preferred = kMemoryBlockSize;
}

void SetupFileXfer() {
    auto* setup = CallData<TW_SETUPFILEXFER>();
    switch (g_twain.callMsg) {
        case MSG_GET:
            if (Legal(4, 6)) *setup = g_setup.fileSetupCurrent;
            break;
        case MSG_GETDEFAULT:
            if (Legal(4, 6)) *setup = g_setup.fileSetupDefault;
            break;
        case MSG_SET:
            if (!Legal(4, 6)) break;
            if (setup->Format != TWFF_TIFF || !NameTerminated(*setup)) {
                Fail(TWCC_BADVALUE);
                break;
            }
            g_caps.fileFormatIndex = 0;
            g_setup.fileSetupCurrent = *setup;
            break;
        case MSG_RESET:
            if (!Legal(4, 4)) break;
            g_setup.fileSetupCurrent = g_setup.fileSetupDefault;
            *setup = g_setup.fileSetupCurrent;
            break;
    }
}

void XferGroup() {
    if (Legal(4, 6)) *CallData<TW_UINT32>() = g_setup.xferGroup;
}

// One image per MSG_XFERREADY: the host is told of one pending transfer, and
// MSG_ENDXFER always ends the batch.
void PendingXfers() {
    auto* pending = CallData<TW_PENDINGXFERS>();
    switch (g_twain.callMsg) {
        case MSG_GET:
            if (!Legal(4, 7)) break;
            g_caps.pendingCount = 1;
            pending->Count = 1;
            break;
        case MSG_ENDXFER:
            if (!Legal(6, 7)) break;
            AbandonTransfer();
            g_caps.pendingCount = 0;
            pending->Count = 0;
            pending->Reserved = 0;
            g_twain.sourceState = kState5;
            break;
        case MSG_RESET:
            if (!Legal(6, 7)) break;
            AbandonTransfer();
            g_twain.sourceState = kState5;
            pending->Count = 0;
            break;
        default:
            g_twain.returnCode = TWRC_SUCCESS;
            Fail(TWCC_BADPROTOCOL);
            break;
    }
}

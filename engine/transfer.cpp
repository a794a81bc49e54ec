#include "engine/transfer.h"

#include "twain/session.h"

// No scan command exists yet, so no image is ever ready: a transfer can only
// be refused.
uint32_t NativeTransfer() {
    Fail(TWCC_OPERATIONERROR);
    return 0;
}

void FileTransfer() { Fail(TWCC_OPERATIONERROR); }

void MemoryTransfer(uint8_t*, uint32_t) { Fail(TWCC_OPERATIONERROR); }

bool TransferInProgress() { return false; }

void EndOfTransfer() {}

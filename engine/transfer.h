// The bodies of the three image transfers. Each leaves the TWAIN return code
// in g_twain.returnCode: TWRC_XFERDONE after the last row, TWRC_SUCCESS for a
// memory block with more to come, TWRC_CANCEL, or TWRC_FAILURE.
#pragma once

#include <cstdint>

// The handle of the packed device-independent bitmap of the whole image, as
// the host receives it (pointer-sized), or 0.
uintptr_t NativeTransfer();

// The whole image into the file named by the file transfer set-up.
void FileTransfer();

// One block of rows into the host's buffer; fills g_twain.memXferRecord.
void MemoryTransfer(uint8_t* buffer, uint32_t length);

// A memory or file transfer has begun an image and rows remain.
bool TransferInProgress();

// The clean-up after every transfer, whatever its outcome: buffers freed,
// files closed (an unfinished host file deleted), and the next image set to
// start afresh.
void EndOfTransfer();

// For a host that leaves an image undelivered (MSG_ENDXFER or MSG_RESET
// before the last block, MSG_DISABLEDS, MSG_CLOSEDS in state 6 or 7): stops
// the scanner and runs EndOfTransfer. Does nothing when no image is pending.
// Call it before the state changes.
void AbandonTransfer();

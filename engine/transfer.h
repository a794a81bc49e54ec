// The bodies of the three image transfers. Each leaves the TWAIN return code
// in g_twain.returnCode: TWRC_XFERDONE after the last row, TWRC_SUCCESS for a
// memory block with more to come, TWRC_CANCEL, or TWRC_FAILURE.
#pragma once

#include <cstdint>

// The packed device-independent bitmap of the whole image, or 0.
uint32_t NativeTransfer();

// The whole image into the file named by the file transfer set-up.
void FileTransfer();

// One block of rows into the host's buffer; fills g_twain.memXferRecord.
void MemoryTransfer(uint8_t* buffer, uint32_t length);

// An image is being delivered and rows remain.
bool TransferInProgress();

// The clean-up after every transfer, whatever its outcome.
void EndOfTransfer();

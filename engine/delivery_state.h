// What the transfer bodies keep between the calls that deliver one image:
// the rows handed over so far, the part of the last chunk still to go, and
// the buffers and files the image holds. Released by the end-of-transfer
// clean-up whatever the outcome.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/file_headers.h"
#include "engine/row_output.h"

struct DeliveryState {
    uint32_t rowsDelivered = 0;  // rows handed to the host: the next block's YOffset
    uint16_t chunkRowsLeft = 0;  // lines of the last chunk not yet delivered (none: the next block reads)

    // A file transfer's target, open while the image is written; a file still
    // open at the clean-up is incomplete and is deleted.
    HANDLE hostFile = INVALID_HANDLE_VALUE;
    std::string hostFileName;

    // Lines and rows of one block on their way to the host: the processed
    // lines, the enlarged rows, the rows in the file's layout.
    std::vector<uint8_t> lines, rows, fileRows;
};

extern DeliveryState g_delivery;

// The set-up of a memory or file transfer (the first call of an image):
// progress at 0 with text 500, the scan buffer, and the counters of a new
// image. On failure the user has seen text 604, the scanner is stopped and
// the return code is TWRC_FAILURE.
bool SetUpDelivery();

// For the transfers that take the whole image in one call: pumps messages
// (Escape cancels), reads the next chunk and shows its lines as done. False
// after a cancel or a failure, which the user has seen.
bool ReadNextChunk();

// The image as the host receives it, for the file headers.
fileheaders::ImageGeometry DeliveredGeometry();

// Frees the scan buffer and the block buffers and closes the host's file,
// deleting it when it was not finished.
void ReleaseDelivery();

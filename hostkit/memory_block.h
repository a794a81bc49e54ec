// What twscan accepts of a memory transfer: the buffer size it offers the
// source, and the checks each block passes before its rows are used.
#pragma once

#include <cstdint>
#include <string>

#include "hostkit/image_file.h"
#include "twain/twain.h"

namespace imagefile {

// The buffer size for DAT_IMAGEMEMXFER from the source's DAT_SETUPMEMXFER
// answer: its preferred size, else 64 KB, kept within its minimum and
// maximum and never above 64 MB.
uint32_t MemoryBufferSize(const TW_SETUPMEMXFER& setup);

// A block the source filled: uncompressed, whole rows of the full width,
// starting at `nextRow` (blocks come top to bottom without gaps), within the
// image and, as BytesWritten says, within the `bufferLength` bytes offered.
// Only the last block (`last`, TWRC_XFERDONE) may hold no rows. False with
// the reason otherwise.
bool CheckMemoryBlock(const TW_IMAGEMEMXFER& block, const ImageShape& shape, uint32_t bufferLength,
                      uint32_t nextRow, bool last, std::string& error);

}  // namespace imagefile

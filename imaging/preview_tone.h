// Tone correction of the preview image: the same maps the scanner receives,
// applied in memory so the user sees them before scanning.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/tone_map.h"

namespace tone {

// Three 256-entry maps back to back, in the order of a preview pixel's bytes:
// byte 0 (blue), byte 1 (green), byte 2 (red).
constexpr int kPreviewTablesSize = 3 * kTableSize;

// Rebuilds the preview maps from the tone settings (grey and line art: the
// master map in all three) and passes every pixel of a blue-green-red image
// through them. A map whose triple is refused keeps its previous contents.
// Returns false, changing no pixel, when the geometry does not fit the buffer.
// The colour adjustment pass runs after this one; the caller chains it.
bool PreviewTonePass(const ToneSettings& tone, uint16_t scanMode, uint8_t tables[kPreviewTablesSize], uint8_t* pixels,
                     size_t bufferSize, int width, int height, size_t stride);

// Grey level of each entry of the palette through which a grey or line-art
// preview (reduced to one byte per pixel) is shown: the master map itself,
// or black/white split at 128 for line art.
void PreviewPaletteLevels(const uint8_t masterTable[kTableSize], bool lineArt, uint8_t levels[kTableSize]);

}  // namespace tone

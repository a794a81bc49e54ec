// The steps a block of stored lines takes on its way into the host's buffer
// or file: output matching and the read-back filters (post-processed scans),
// the enlargement, and the CMYK conversion. Also how many lines one block
// takes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/processing_plan.h"
#include "imaging/cmyk.h"
#include "imaging/colour_profile.h"

namespace processing {

// Tables the blocks of an image are processed with.
struct BlockTables {
    const colour::ColourProfile* profile = nullptr;  // output matching
    const colour::CmykTable* cmyk = nullptr;
    bool cmykDirect = false;  // the host takes ink amounts, not 255 - ink
};

// Source lines one block takes for a host buffer of `hostLength` bytes: the
// rows of plan.hostRowBytes that fit, less two for line art, divided by the
// enlargement. Zero or less when the buffer cannot take one block.
int64_t SourceLinesPerBlock(const ProcessingPlan& plan, uint32_t hostLength);

// Source lines of a block of a file transfer: as for a memory transfer into
// the usual 64 KB buffer, and at least one.
uint32_t FileLinesPerBlock(const ProcessingPlan& plan);

enum class BlockResult {
    kDone,
    kNoMemory,  // the enlarger could not keep its carried row
    kRefused,   // buffers too small or overlapping, or no CMYK table
};

// Processes `count` stored lines (plan.storedLineBytes each, one after
// another in `lines`, changed in place) into `out`: when the plan goes
// through the work file, output matching (colour rows, red first) and the
// read-back filters; then the enlargement, the carried row continuing the
// image across blocks; then the CMYK conversion. `out` receives
// count x enlargement rows of plan.hostRowBytes (outSize bytes at least) and
// may be `lines` itself when nothing is enlarged.
BlockResult ProcessBlock(const ProcessingPlan& plan, const BlockTables& tables, uint8_t* lines, uint32_t count,
                         uint8_t* out, size_t outSize, resample::CarryRow& carry);

}  // namespace processing

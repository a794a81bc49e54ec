#include "engine/block_stage.h"

#include <algorithm>
#include <cstring>

#include "engine/row_output.h"
#include "imaging/block_filters.h"
#include "imaging/filter_common.h"

namespace processing {

namespace {

constexpr uint32_t kFileBlockLength = 65536;

}  // namespace

int64_t SourceLinesPerBlock(const ProcessingPlan& plan, uint32_t hostLength) {
    int64_t rows = rowoutput::RowsThatFit(hostLength, plan.hostRowBytes, plan.kind == resample::PixelKind::kLineArt);
    return rows <= 0 ? 0 : rows / plan.enlargement;
}

uint32_t FileLinesPerBlock(const ProcessingPlan& plan) {
    return static_cast<uint32_t>(std::max<int64_t>(1, SourceLinesPerBlock(plan, kFileBlockLength)));
}

BlockResult ProcessBlock(const ProcessingPlan& plan, const BlockTables& tables, uint8_t* lines, uint32_t count,
                         uint8_t* out, size_t outSize, resample::CarryRow& carry) {
    if (count == 0) return BlockResult::kDone;
    const size_t inBytes = size_t{count} * plan.storedLineBytes;
    if (plan.throughWorkFile) {
        if (plan.outputMatching && tables.profile)
            colour::ApplyColourProfile(*tables.profile, static_cast<int>(count), static_cast<int>(plan.storedPixels),
                                       plan.storedLineBytes, lines, inBytes, false);
        if (plan.filterMode >= filters::kFilterInvert && plan.filterMode <= filters::kFilterEmboss)
            filters::FilterBlock(lines, count, {plan.storedPixels, plan.storedLineBytes, plan.bitsPerPixel},
                                 plan.filterMode);
    }

    size_t outBytes = inBytes;
    if (plan.enlargement > 1) {
        switch (resample::EnlargeRows(plan.kind, plan.enlargement, {lines, plan.storedPixels, count}, out, outSize,
                                      carry)) {
            case resample::EnlargeStatus::kDone: break;
            case resample::EnlargeStatus::kNoMemory: return BlockResult::kNoMemory;
            case resample::EnlargeStatus::kBadArguments: return BlockResult::kRefused;
        }
        outBytes = size_t{count} * plan.enlargement * plan.rowBytes;
    } else if (out != lines) {
        if (outSize < inBytes) return BlockResult::kRefused;
        std::memcpy(out, lines, inBytes);
    }
    if (plan.cmyk && (!tables.cmyk || !colour::ConvertToCmyk(*tables.cmyk, out, outSize, outBytes, tables.cmykDirect)))
        return BlockResult::kRefused;
    return BlockResult::kDone;
}

}  // namespace processing

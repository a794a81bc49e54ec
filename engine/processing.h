// The image processing of the scan being delivered: its plan, the tables the
// plan needs (colour pass, colour profile, CMYK table) and the line buffers
// the transfers share. The scan command prepares it; the end-of-transfer
// clean-up releases it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/block_stage.h"
#include "engine/processing_plan.h"
#include "engine/row_output.h"
#include "imaging/cmyk.h"
#include "imaging/colour_adjust.h"
#include "imaging/colour_profile.h"
#include "imaging/convolution.h"
#include "imaging/decimation.h"

struct ProcessingState {
    processing::ProcessingPlan plan;
    colour::ColourTables colourTables;
    bool colourPassChanges = false;  // the colour pass is not the identity
    colour::ColourProfile profile;
    colour::CmykTable cmyk;
    bool cmykDirect = false;

    std::vector<uint8_t> doubledLine;  // one scanner line after DoubleLine
    resample::CarryRow carry;          // the enlarger's row between blocks

    // Post-processed scans: the work file and the filters that run while it
    // is written.
    HANDLE workFile = INVALID_HANDLE_VALUE;
    std::string workFilePath;
    bool keepWorkFile = false;   // the colour work file stays on disk
    uint32_t linesReadBack = 0;  // stored lines read back so far
    filters::ConvolutionLines unsharp, descreen;
    filters::BoxDecimation decimation;

    // An interpolated colour file transfer keeps "\Interp.Tmp" open.
    HANDLE interpolationFile = INVALID_HANDLE_VALUE;
};

extern ProcessingState g_processing;

// Scan set-up, before the scanner moves. Output matching is kept only for
// colour scans from the reflective bed or positive film whose colour profile
// loads; a missing profile shows text 510 (caption 406) and switches it off,
// and for anything else it is switched off silently. A CMYK scan loads its
// table; failure shows text 618 and returns false. No memory to read either
// fails the scan with text 604 and TWCC_LOWMEMORY.
bool PrepareProcessing(HWND owner);

// After the scanner has started: the plan for the transfer mechanism the host
// chose, and the colour pass tables from the saved tone settings. False when
// the image cannot be described.
bool PlanScanProcessing();

processing::Delivery CurrentDelivery();

// Before an image's first transfer: prepares the image for `delivery`, the
// body the host called, whatever mechanism it negotiated (many hosts never
// do). False, with nothing changed, when the image cannot go that way.
bool PlanDeliveryFor(processing::Delivery delivery);

// A scanner line, widened when the plan doubles lines: the line itself or
// the doubled copy (plan.lineBytes either way). Allocates the copy on first
// use; null when it cannot be had.
const uint8_t* ProcessLine(const uint8_t* scannerLine);

// The row forms of processed lines: in scanner order for memory blocks and
// work files, as padded bitmap rows for the native transfer; both with the
// colour pass when it changes anything.
rowoutput::RowForm StoredLineForm();
rowoutput::RowForm BitmapLineForm();

processing::BlockTables ProcessingTables();

// Reserves `bytes` in `buffer`; false when the memory cannot be had.
bool Reserve(std::vector<uint8_t>& buffer, size_t bytes);

// Frees the image's buffers and the CMYK table, releases the profile and
// closes the work files: "\Interp.Tmp" and the grey work file are deleted,
// the colour work file stays on disk.
void ReleaseProcessing();

// Post-processed scans: the whole scan is written to a work file while the
// write-time filters run (UnSharp Mask, the descreen kernel and reduction),
// then read back block by block for the remaining steps.
#pragma once

#include <cstdint>
#include <string>

// Reads every chunk from the scanner and writes its processed lines to the
// work file ("\Xfer_G.Tmp" for grey and line art, the colour work file for
// colour), then frees the scan buffer and stands at the first stored line.
// False after a cancel or a failure, which the user has seen.
bool WriteScanToWorkFile();

// Stored lines not yet read back.
uint32_t WorkFileLinesLeft();

// Reads the next `count` stored lines into `lines` and shows the processing
// progress (text 505, 508 with descreening, 509 with output matching). A read
// that fails, or a call for no line (the file holds fewer lines than the
// image), reports text 618 with TWCC_OPERATIONERROR and returns false.
bool ReadWorkFileLines(uint8_t* lines, uint32_t count);

// Closes the work file of a finished scan so that it can be copied (it is
// opened without sharing); the clean-up at the end of the transfer still
// removes it. The path of the closed file, empty when no scan wrote one.
std::string CloseFinishedWorkFile();

// The copies of the tone settings the Enhancements and colour pages work
// with. The live copy is the settings record's (what the preview and the
// next scan use); the engine copy is the saved record, written with every
// edit; the working copy is the pages' own. The copy the preview was last
// processed with (the applied one) is kept by the preview itself.
#pragma once

#include "imaging/image_records.h"

// A page shows: working and engine copies from the live one. Not when the
// page was reached by the arrow of its sibling page: the edits made there go on.
void TakeToneCopies();
// The arrow between the Enhancements and colour pages: the next page shown
// keeps the copies.
void KeepToneCopiesForNextPage();

// The pages edit this copy, then call StoreToneEdit.
ToneSettings& WorkingTone();
// An edit: the engine copy follows the working copy.
void StoreToneEdit();

// "&Preview": the working copy becomes the live copy and the preview is
// processed with it.
void ApplyWorkingTone();

// True in 24-bit, CMYK and 36-bit colour: the pages edit three channels.
bool ColourPages();

// The records that describe the image about to be transferred and how it
// will be transferred.
#pragma once

#include <string>

#include "twain/twain.h"

struct TransferSetup {
    TW_IMAGEINFO imageInfo{};
    TW_IMAGELAYOUT layoutCurrent{};
    TW_IMAGELAYOUT layoutDefault{};
    TW_SETUPFILEXFER fileSetupCurrent{};
    TW_SETUPFILEXFER fileSetupDefault{};
    TW_UINT32 xferGroup = DG_IMAGE;
};

extern TransferSetup g_setup;

// The reset of MSG_OPENDS, with the fresh temporary file name.
void ResetTransferSetup(const std::string& transferFileName);

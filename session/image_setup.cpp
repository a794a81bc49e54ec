#include "session/image_setup.h"

#include <windows.h>

TransferSetup g_setup;

namespace {

TW_IMAGELAYOUT DefaultLayout() {
    TW_IMAGELAYOUT layout{};
    layout.DocumentNumber = 1;
    layout.PageNumber = 1;
    layout.FrameNumber = 1;
    return layout;
}

}  // namespace

void ResetTransferSetup(const std::string& transferFileName) {
    g_setup.imageInfo = TW_IMAGEINFO{};
    g_setup.imageInfo.Planar = 1;
    g_setup.imageInfo.PixelType = TWPT_RGB;
    g_setup.layoutCurrent = g_setup.layoutDefault = DefaultLayout();
    TW_SETUPFILEXFER file{};
    lstrcpynA(file.FileName, transferFileName.c_str(), sizeof file.FileName);
    file.Format = TWFF_TIFF;
    g_setup.fileSetupCurrent = g_setup.fileSetupDefault = file;
    g_setup.xferGroup = DG_IMAGE;
}

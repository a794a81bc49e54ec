#include "source/readonly_caps.h"

#include <iterator>

#include "device/device.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "settings/scan_settings.h"
#include "settings/settings_record.h"
#include "twain/cap_container.h"
#include "twain/fix32.h"

namespace {

// Bits of a pixel of the negotiated type; the image in hand decides once a
// scan has made one (36-bit colour goes out as 48 bits).
TW_UINT32 BitDepth() {
    const ScanSettings& s = g_scanSettings;
    if (StateBetween(6, 7) && s.scanMode == kModeColour && s.colourKind == kColour36) return 48;
    switch (kPixelTypes[g_caps.pixelTypeIndex % std::size(kPixelTypes)]) {
        case TWPT_BW: return 1;
        case TWPT_RGB: return 24;
        default: return 8;
    }
}

}  // namespace

bool ReadOnlyValue(TW_UINT16 capability, TW_UINT16& itemType, TW_UINT32& value) {
    switch (capability) {
        case CAP_UICONTROLLABLE:
            itemType = TWTY_BOOL;
            value = 1;
            return true;
        case CAP_DEVICEONLINE:
            itemType = TWTY_BOOL;
            value = g_device.opticalResolution != 0;  // set once the scanner answered the inquiry
            return true;
        case ICAP_BITDEPTH:
            itemType = TWTY_UINT16;
            value = BitDepth();
            return true;
        case ICAP_BITORDER:
            itemType = TWTY_UINT16;
            value = TWBO_MSBFIRST;
            return true;
        case ICAP_XNATIVERESOLUTION:
        case ICAP_YNATIVERESOLUTION:
            itemType = TWTY_FIX32;
            value = Fix32ToContainer(Fix32FromInt(OpticalRate(g_device.opticalResolution)));
            return true;
        default:
            return false;
    }
}

std::vector<TW_UINT32> SupportedCapabilities() {
    std::vector<TW_UINT32> caps = {
        CAP_XFERCOUNT,       ICAP_COMPRESSION,       ICAP_PIXELTYPE,         ICAP_UNITS,
        ICAP_XFERMECH,       CAP_SUPPORTEDCAPS,      CAP_UICONTROLLABLE,     CAP_DEVICEONLINE,
        CAP_FEEDERENABLED,   CAP_AUTOFEED,           CAP_INDICATORS,         ICAP_BRIGHTNESS,
        ICAP_CONTRAST,       ICAP_FILTER,            ICAP_IMAGEFILEFORMAT,   ICAP_LIGHTSOURCE,
        ICAP_PHYSICALWIDTH,  ICAP_PHYSICALHEIGHT,    ICAP_XRESOLUTION,       ICAP_YRESOLUTION,
        ICAP_PIXELFLAVOR,    ICAP_PLANARCHUNKY,      ICAP_SUPPORTEDSIZES,    ICAP_BITDEPTH,
        ICAP_BITORDER,       ICAP_XNATIVERESOLUTION, ICAP_YNATIVERESOLUTION};
    // Whether the feeder is loaded is answered only when there is one.
    if (g_caps.feederPresent) caps.push_back(CAP_FEEDERLOADED);
    return caps;
}

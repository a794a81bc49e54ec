// DAT_CAPABILITY: the general handler and the variant for the host that
// cannot negotiate (text 62).
#include <ctime>
#include <string>
#include <vector>

#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "source/capability_glue.h"
#include "source/handlers.h"
#include "source/readonly_caps.h"
#include "twain/cap_container.h"
#include "twain/fix32.h"

CapabilityState g_caps;

namespace {

constexpr TW_INT16 kBrightnessLimit = 1000;
constexpr TW_UINT32 kBrightnessStep = 80;

TW_UINT32 Fix(int32_t n) { return Fix32ToContainer(Fix32FromInt(n)); }

TW_UINT32 Entry(const ValueList& list, unsigned index) { return list.items[index < list.count ? index : 0]; }

TW_UINT32 CurrentResolution() { return Entry(kResolutionList, g_caps.resolutionIndex); }

void AnswerToneRange(TW_CAPABILITY& cap, int16_t current) {
    RangeValues range{TWTY_FIX32, Fix(-kBrightnessLimit), Fix(kBrightnessLimit), Fix(kBrightnessStep), Fix(0),
                      Fix(current)};
    MakeRange(cap, range);
}

// MSG_GETCURRENT and MSG_GETDEFAULT (there are no separate defaults).
void AnswerCurrent(TW_CAPABILITY& cap) {
    switch (cap.Cap) {
        case CAP_XFERCOUNT:
            return MakeOneValue(cap, TWTY_INT16, static_cast<TW_UINT32>(-1));
        case ICAP_COMPRESSION:
            return MakeOneValue(cap, TWTY_UINT16, TWCP_NONE);
        case ICAP_PIXELTYPE:
            return MakeOneValue(cap, TWTY_UINT16, Entry(kPixelTypeList, g_caps.pixelTypeIndex));
        case ICAP_UNITS:
            return MakeOneValue(cap, TWTY_UINT16, Entry(kUnitList, g_caps.unitsIndex));
        case ICAP_XFERMECH:
            return MakeOneValue(cap, TWTY_UINT16, Entry(kXferMechList, g_caps.xferMechIndex));
        case CAP_FEEDERENABLED:
            return MakeOneValue(cap, TWTY_BOOL, g_caps.feederPresent);
        case CAP_FEEDERLOADED:
            // Whether paper lies in the feeder is known only when a scan
            // starts; a fitted feeder is reported as ready to feed.
            if (!g_caps.feederPresent) return Fail(TWCC_BADCAP);
            return MakeOneValue(cap, TWTY_BOOL, 1);
        case CAP_AUTOFEED:
            g_caps.autoFeed = 0;
            return MakeOneValue(cap, TWTY_BOOL, 0);
        case CAP_INDICATORS:
            return MakeOneValue(cap, TWTY_BOOL, 0);
        case ICAP_BRIGHTNESS:
            return MakeOneValue(cap, TWTY_FIX32, Fix(g_caps.brightness));
        case ICAP_CONTRAST:
            return MakeOneValue(cap, TWTY_FIX32, Fix(g_caps.contrast));
        case ICAP_FILTER:
            return MakeOneValue(cap, TWTY_UINT16, TWFT_NONE);
        case ICAP_IMAGEFILEFORMAT:
            return MakeOneValue(cap, TWTY_UINT16, Entry(kFileFormatList, g_caps.fileFormatIndex));
        case ICAP_LIGHTSOURCE:
            return MakeOneValue(cap, TWTY_UINT16, TWLS_WHITE);
        case ICAP_PHYSICALWIDTH:
            return MakeOneValue(cap, TWTY_FIX32, Fix32ToContainer(Fix32FromReal(11.6f)));
        case ICAP_PHYSICALHEIGHT:
            return MakeOneValue(cap, TWTY_FIX32, Fix32ToContainer(Fix32FromReal(17.0f)));
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION:
            return MakeOneValue(cap, TWTY_FIX32, Fix(static_cast<int32_t>(CurrentResolution())));
        case ICAP_PIXELFLAVOR:
            return MakeOneValue(cap, TWTY_BOOL, 0);
        case ICAP_PLANARCHUNKY:
            // Every image is delivered chunky; reporting planar would mislead
            // a host into splitting the samples.
            return MakeOneValue(cap, TWTY_UINT16, TWPC_CHUNKY);
        case ICAP_SUPPORTEDSIZES:
            return MakeOneValue(cap, TWTY_UINT16, Entry(kSupportedSizeList, g_caps.supportedSizeIndex));
        case CAP_SUPPORTEDCAPS: {
            const std::vector<TW_UINT32> caps = SupportedCapabilities();
            return MakeArray(cap, TWTY_UINT16, caps.data(), static_cast<TW_UINT32>(caps.size()));
        }
        default: {
            TW_UINT16 itemType = 0;
            TW_UINT32 value = 0;
            if (ReadOnlyValue(cap.Cap, itemType, value)) return MakeOneValue(cap, itemType, value);
            return Fail(TWCC_BADCAP);
        }
    }
}

// A read-only capability takes its own value and nothing else.
void SetReadOnly(TW_UINT16 itemType, TW_UINT32 current, TW_UINT32 v) {
    const TW_UINT32 given = itemType == TWTY_FIX32 ? v : v & 0xFFFF;
    if (given != current) Fail(TWCC_BADVALUE);
}

void AnswerGet(TW_CAPABILITY& cap) {
    switch (cap.Cap) {
        case ICAP_BRIGHTNESS:
            return AnswerToneRange(cap, g_caps.brightness);
        case ICAP_CONTRAST:
            return AnswerToneRange(cap, g_caps.contrast);
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION:
            return MakeEnumeration(cap, kResolutionList, g_caps.resolutionIndex);
        case ICAP_SUPPORTEDSIZES:
            return MakeEnumeration(cap, kSupportedSizeList, g_caps.supportedSizeIndex);
        default:
            return AnswerCurrent(cap);
    }
}

// Stores the position of v in `list` into `index`; a value not in the list
// is refused and changes nothing.
template <typename Index>
void SetListIndex(const ValueList& list, TW_UINT32 v, Index& index) {
    int position = ListIndexOf(list, v);
    if (position < 0) return Fail(TWCC_BADVALUE);
    index = static_cast<Index>(position);
}

void SetXferMech(TW_UINT32 v) {
    const TW_IDENTITY& host = g_twain.appIdentity;
    if (lstrcmpA(host.ProductName, "iPhoto Plus 4") == 0) {
        g_caps.xferMechIndex = TWSX_MEMORY;
        if ((v & 0xFFFF) == TWSX_NATIVE) Fail(TWCC_BADVALUE);
        return;
    }
    if (lstrcmpA(host.ProductFamily, "Adobe PageMaker") == 0) {
        if (lstrcmpA(host.ProductName, "Acquire Image Plugin") != 0) return Fail(TWCC_BADVALUE);
        g_caps.xferMechIndex = TWSX_MEMORY;
        return;
    }
    SetListIndex(kXferMechList, v, g_caps.xferMechIndex);
}

void SetToneValue(TW_UINT32 v, int16_t& target) {
    int16_t whole = Fix32FromContainer(v).Whole;
    if (whole < -kBrightnessLimit || whole > kBrightnessLimit) return Fail(TWCC_BADVALUE);
    target = whole;
}

void SetFeederEnabled(TW_UINT32 v) {
    if (!g_caps.feederPresent) {
        g_caps.feederEnabled = 0;
        return Fail(TWCC_BADCAP);
    }
    if (StateBetween(5, 7)) return Fail(TWCC_SEQERROR);
    // The unattended scan reads it; the dialog keeps its own scan source.
    if (g_twain.sourceState == kState4) g_caps.feederEnabled = v & 0xFFFF;
}

void SetAutoFeed(TW_UINT32 v) {
    if (!(g_caps.feederPresent && g_caps.feederEnabled)) {
        g_caps.autoFeed = 0;
        return Fail(TWCC_BADCAP);
    }
    if (StateBetween(5, 7)) return Fail(TWCC_SEQERROR);
    if (g_twain.sourceState == kState4) g_caps.autoFeed = v & 0xFFFF;
}

void SetCapability(TW_CAPABILITY& cap) {
    TW_UINT32 v = 0;
    if (cap.Cap == CAP_SUPPORTEDCAPS || (cap.ConType != TWON_ENUMERATION && cap.ConType != TWON_ONEVALUE) ||
        !ReadHostValue(cap, v))
        return Fail(TWCC_BADVALUE);
    TW_UINT16 itemType = 0;
    TW_UINT32 current = 0;
    if (ReadOnlyValue(cap.Cap, itemType, current)) return SetReadOnly(itemType, current, v);
    switch (cap.Cap) {
        case CAP_XFERCOUNT:
            g_caps.pendingCount = static_cast<uint16_t>(v);
            g_caps.pagesRequested = static_cast<int16_t>(v);
            return;
        case ICAP_PIXELTYPE:
            return SetListIndex(kPixelTypeList, v, g_caps.pixelTypeIndex);
        case ICAP_UNITS:
            return SetListIndex(kUnitList, v, g_caps.unitsIndex);
        case ICAP_XFERMECH:
            return SetXferMech(v);
        case ICAP_IMAGEFILEFORMAT:
            return SetListIndex(kFileFormatList, v, g_caps.fileFormatIndex);
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION:
            return SetListIndex(kResolutionList, static_cast<TW_UINT16>(Fix32FromContainer(v).Whole),
                                g_caps.resolutionIndex);
        case ICAP_BRIGHTNESS:
            return SetToneValue(v, g_caps.brightness);
        case ICAP_CONTRAST:
            return SetToneValue(v, g_caps.contrast);
        case ICAP_PIXELFLAVOR:
            g_caps.pixelFlavorSet = (v & 0xFFFF) != 0;
            return;
        case ICAP_PLANARCHUNKY:
            g_caps.chunky = (v & 0xFFFF) == TWPC_CHUNKY;
            return;
        case ICAP_SUPPORTEDSIZES:
            if (int position = ListIndexOf(kSupportedSizeList, v); position >= 0)
                g_caps.supportedSizeIndex = static_cast<uint16_t>(position);
            return;
        case CAP_FEEDERENABLED:
            return SetFeederEnabled(v);
        case CAP_AUTOFEED:
            return SetAutoFeed(v);
        case CAP_CLEARPAGE:
        case CAP_FEEDPAGE:
            return Fail(TWCC_BADCAP);
        default:
            // Accepted without effect; the host can read why through DAT_STATUS.
            g_twain.conditionCode = TWCC_BADVALUE;
            return;
    }
}

void ResetCapability(TW_UINT16 capability) {
    switch (capability) {
        case ICAP_BRIGHTNESS:
            g_caps.brightness = 0;
            break;
        case ICAP_CONTRAST:
            g_caps.contrast = 0;
            break;
        case ICAP_PIXELTYPE:
            g_caps.pixelTypeIndex = 0;
            break;
        case ICAP_UNITS:
            g_caps.unitsIndex = 0;
            break;
        case ICAP_XFERMECH:
            g_caps.xferMechIndex = TWSX_MEMORY;
            break;
        case ICAP_IMAGEFILEFORMAT:
            g_caps.fileFormatIndex = 0;
            break;
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION:
            g_caps.resolutionIndex = static_cast<uint8_t>(kResolutionList.defaultIndex);
            break;
        case ICAP_SUPPORTEDSIZES:
            g_caps.supportedSizeIndex = 0;
            break;
        default:
            break;
    }
}

// The Publisher's fixed answers that are not lists.
void AnswerPublisherFixed(TW_CAPABILITY& cap) {
    switch (cap.Cap) {
        case CAP_AUTHOR: {
            TW_UINT32 text = MakeTextBlock(LoadTextA(TXT_AUTHOR).c_str(), 130);
            return text ? MakeOneValue(cap, TWTY_UINT32, text) : Fail(TWCC_LOWMEMORY);
        }
        case CAP_CAPTION: {
            std::string caption = BrandText() + " Scanners";
            TW_UINT32 text = MakeTextBlock(caption.c_str(), 256);
            return text ? MakeOneValue(cap, TWTY_UINT32, text) : Fail(TWCC_LOWMEMORY);
        }
        case CAP_TIMEDATE: {
            time_t now = time(nullptr);
            const char* stamp = ctime(&now);
            TW_UINT32 text = MakeTextBlock(stamp ? stamp : "", 66);
            return text ? MakeOneValue(cap, TWTY_UINT32, text) : Fail(TWCC_LOWMEMORY);
        }
        default:
            return;
    }
}

bool PublisherRefuses(TW_UINT16 capability) {
    static const TW_UINT16 kRefused[] = {
        ICAP_AUTOBRIGHT,   ICAP_BRIGHTNESS,     ICAP_CONTRAST,         ICAP_CUSTHALFTONE,
        ICAP_EXPOSURETIME, ICAP_FLASHUSED,      ICAP_GAMMA,            ICAP_HALFTONES,
        ICAP_HIGHLIGHT,    ICAP_LAMPSTATE,      ICAP_ORIENTATION,      ICAP_PHYSICALWIDTH,
        ICAP_PHYSICALHEIGHT, ICAP_SHADOW,       ICAP_FRAMES,           ICAP_XNATIVERESOLUTION,
        ICAP_YNATIVERESOLUTION, ICAP_MAXFRAMES, ICAP_TILES,            ICAP_BITORDER,
        ICAP_CCITTKFACTOR, ICAP_LIGHTPATH,      ICAP_PLANARCHUNKY,     ICAP_ROTATION,
        ICAP_SUPPORTEDSIZES, ICAP_THRESHOLD,    ICAP_XSCALING,         ICAP_YSCALING,
        ICAP_BITORDERCODES, ICAP_PIXELFLAVORCODES, ICAP_JPEGPIXELTYPE, ICAP_TIMEFILL};
    for (TW_UINT16 refused : kRefused)
        if (refused == capability) return true;
    return false;
}

// The four list capabilities of the Publisher: the list, its current entry
// and the fixed default.
struct PublisherList {
    TW_UINT16 cap;
    const ValueList* list;
    uint8_t CapabilityState::*index;
    TW_UINT32 defaultValue;
};

const PublisherList kPublisherLists[] = {
    {ICAP_IMAGEFILEFORMAT, &kFileFormatList, &CapabilityState::fileFormatIndex, TWFF_TIFF},
    {ICAP_PIXELTYPE, &kPixelTypeList, &CapabilityState::pixelTypeIndex, TWPT_BW},
    {ICAP_UNITS, &kUnitList, &CapabilityState::unitsIndex, TWUN_INCHES},
    {ICAP_XFERMECH, &kXferMechList, &CapabilityState::xferMechIndex, TWSX_MEMORY},
};

void AnswerPublisherByMessage(TW_CAPABILITY& cap, TW_UINT16 msg) {
    if (cap.Cap == ICAP_XRESOLUTION || cap.Cap == ICAP_YRESOLUTION) {
        if (msg == MSG_GET) return MakeEnumeration(cap, kResolutionList, g_caps.resolutionIndex);
        return MakeOneValue(cap, TWTY_UINT32, CurrentResolution());
    }
    for (const PublisherList& entry : kPublisherLists) {
        if (entry.cap != cap.Cap) continue;
        uint8_t index = g_caps.*entry.index;
        if (msg == MSG_GET) return MakeEnumeration(cap, *entry.list, index);
        if (msg == MSG_GETCURRENT) return MakeOneValue(cap, TWTY_UINT16, Entry(*entry.list, index));
        return MakeOneValue(cap, TWTY_UINT16, entry.defaultValue);
    }
    Fail(TWCC_BADCAP);
}

}  // namespace

void ResetCapabilitiesForConnection() {
    CapabilityState fresh;
    fresh.chunky = g_caps.chunky;
    fresh.pixelFlavorSet = g_caps.pixelFlavorSet;
    fresh.autoFeed = g_caps.autoFeed;
    fresh.feederPresent = g_caps.feederPresent;
    fresh.feederEnabled = g_caps.feederEnabled;
    g_caps = fresh;
}

void NegotiateGeneral(TW_UINT16 msg) {
    Succeed();
    TW_CAPABILITY& cap = *CallData<TW_CAPABILITY>();
    switch (msg) {
        case MSG_GET:
            return AnswerGet(cap);
        case MSG_GETCURRENT:
        case MSG_GETDEFAULT:
            return AnswerCurrent(cap);
        case MSG_SET:
            return SetCapability(cap);
        case MSG_RESET:
            ResetCapability(cap.Cap);
            return AnswerCurrent(cap);
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

// This host can negotiate nothing: every message but the three queries
// succeeds without effect.
void NegotiatePublisher() {
    if (!StateBetween(4, 7)) return Fail(TWCC_SEQERROR);
    Succeed();
    TW_UINT16 msg = g_twain.callMsg;
    if (msg != MSG_GET && msg != MSG_GETCURRENT && msg != MSG_GETDEFAULT) return;
    TW_CAPABILITY& cap = *CallData<TW_CAPABILITY>();
    if (PublisherRefuses(cap.Cap)) return Fail(TWCC_BADVALUE);
    switch (cap.Cap) {
        case CAP_XFERCOUNT:
            return MakeOneValue(cap, TWTY_INT16, static_cast<TW_UINT32>(-1));
        case ICAP_COMPRESSION:
            return MakeOneValue(cap, TWTY_UINT16, TWCP_NONE);
        case ICAP_FILTER:
            return MakeOneValue(cap, TWTY_UINT16, TWFT_NONE);
        case ICAP_LIGHTSOURCE:
            return MakeOneValue(cap, TWTY_UINT16, TWLS_WHITE);
        case ICAP_PIXELFLAVOR:
            return MakeOneValue(cap, TWTY_BOOL, 0);
        case CAP_AUTHOR:
        case CAP_CAPTION:
        case CAP_TIMEDATE:
            return AnswerPublisherFixed(cap);
        default:
            return AnswerPublisherByMessage(cap, msg);
    }
}

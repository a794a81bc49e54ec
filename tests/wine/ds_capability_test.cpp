// Capability negotiation through the source manager, as a real host does it:
// the host builds its MSG_SET containers in global memory and frees them, and
// frees every container the source hands back.
#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

constexpr TW_UINT16 kDontCare = 0xFFFF;

// What the host saw of one DAT_CAPABILITY call.
struct CapReply {
    TW_UINT16 rc = TWRC_FAILURE;
    TW_UINT16 condition = 0;     // DAT_STATUS right after the call
    TW_UINT16 conType = 0;       // of the container handed back, if any
    size_t blockSize = 0;        // GlobalSize of that container
    std::vector<uint8_t> bytes;  // its contents
};

struct OneValue {
    TW_UINT16 itemType;
    TW_UINT32 item;
};

struct Enumeration {
    TW_UINT16 itemType = 0;
    TW_UINT32 numItems = 0;
    TW_UINT32 currentIndex = 0;
    TW_UINT32 defaultIndex = 0;
    std::vector<TW_UINT32> items;
};

TW_HANDLE AsHandle(HGLOBAL block) { return TwainRef(block); }
HGLOBAL AsBlock(TW_HANDLE handle) { return TwainPointer<HGLOBAL>(handle); }

// The bytes of a block the host received, after which the host frees it.
std::vector<uint8_t> TakeBlock(TW_HANDLE handle, size_t& size) {
    HGLOBAL block = AsBlock(handle);
    size = GlobalSize(block);
    std::vector<uint8_t> bytes(size);
    if (const void* locked = GlobalLock(block)) {
        std::memcpy(bytes.data(), locked, size);
        GlobalUnlock(block);
    }
    EXPECT_EQ(GlobalFree(block), nullptr) << "the host could not free a block it was given";
    return bytes;
}

CapReply Call(HostSession& host, TW_UINT16 msg, TW_CAPABILITY cap, void* data = nullptr) {
    TW_HANDLE sent = cap.hContainer;
    CapReply reply;
    reply.rc = host.Ds(DG_CONTROL, DAT_CAPABILITY, msg, data ? data : &cap);
    reply.condition = host.ConditionCode();
    if (cap.hContainer != 0 && cap.hContainer != sent) {
        reply.conType = cap.ConType;
        reply.bytes = TakeBlock(cap.hContainer, reply.blockSize);
    }
    return reply;
}

CapReply Query(HostSession& host, TW_UINT16 msg, TW_UINT16 capability) {
    return Call(host, msg, TW_CAPABILITY{capability, kDontCare, 0});
}

// MSG_SET with a container the host made; the host frees it afterwards.
CapReply Set(HostSession& host, TW_UINT16 capability, TW_UINT16 conType, HGLOBAL block) {
    CapReply reply = Call(host, MSG_SET, TW_CAPABILITY{capability, conType, AsHandle(block)});
    if (block) GlobalFree(block);
    return reply;
}

HGLOBAL MakeBlock(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* locked = GlobalLock(block);
    std::memcpy(locked, bytes, size);
    GlobalUnlock(block);
    return block;
}

HGLOBAL OneValueBlock(TW_UINT16 itemType, TW_UINT32 item) {
    TW_ONEVALUE value{itemType, item};
    return MakeBlock(&value, sizeof value);
}

size_t ItemSize(TW_UINT16 itemType) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8: return 1;
        case TWTY_INT16:
        case TWTY_UINT16: return 2;
        default: return 4;
    }
}

// An enumeration block holding `items`; numItems may claim another count.
HGLOBAL EnumerationBlock(TW_UINT16 itemType, const std::vector<TW_UINT32>& items, TW_UINT32 currentIndex,
                         TW_UINT32 numItems) {
    const size_t itemSize = ItemSize(itemType);
    std::vector<uint8_t> bytes(14 + items.size() * itemSize);
    TW_ENUMERATION header{itemType, numItems, currentIndex, 0, {0}};
    std::memcpy(bytes.data(), &header, 14);
    for (size_t i = 0; i < items.size(); ++i) std::memcpy(&bytes[14 + i * itemSize], &items[i], itemSize);
    return MakeBlock(bytes.data(), bytes.size());
}

HGLOBAL EnumerationBlock(TW_UINT16 itemType, const std::vector<TW_UINT32>& items, TW_UINT32 currentIndex = 0) {
    return EnumerationBlock(itemType, items, currentIndex, static_cast<TW_UINT32>(items.size()));
}

CapReply SetOne(HostSession& host, TW_UINT16 capability, TW_UINT16 itemType, TW_UINT32 item) {
    return Set(host, capability, TWON_ONEVALUE, OneValueBlock(itemType, item));
}

TW_UINT32 Fix(int16_t whole, uint16_t frac = 0) { return static_cast<uint16_t>(whole) | (TW_UINT32{frac} << 16); }

OneValue AsOneValue(const CapReply& reply) {
    EXPECT_EQ(reply.conType, TWON_ONEVALUE);
    EXPECT_EQ(reply.blockSize, sizeof(TW_ONEVALUE));
    TW_ONEVALUE value{0xFFFF, 0xDEADBEEF};
    if (reply.bytes.size() >= sizeof value) std::memcpy(&value, reply.bytes.data(), sizeof value);
    return OneValue{value.ItemType, value.Item};
}

TW_RANGE AsRange(const CapReply& reply) {
    EXPECT_EQ(reply.conType, TWON_RANGE);
    EXPECT_EQ(reply.blockSize, sizeof(TW_RANGE));
    TW_RANGE range{};
    if (reply.bytes.size() >= sizeof range) std::memcpy(&range, reply.bytes.data(), sizeof range);
    return range;
}

Enumeration AsEnumeration(const CapReply& reply) {
    EXPECT_EQ(reply.conType, TWON_ENUMERATION);
    Enumeration result;
    if (reply.bytes.size() < 14) return result;
    TW_ENUMERATION header{};
    std::memcpy(&header, reply.bytes.data(), 14);
    result.itemType = header.ItemType;
    result.numItems = header.NumItems;
    result.currentIndex = header.CurrentIndex;
    result.defaultIndex = header.DefaultIndex;
    const size_t itemSize = ItemSize(header.ItemType);
    EXPECT_EQ(reply.blockSize, header.NumItems * itemSize + 15);
    for (size_t at = 14; result.items.size() < header.NumItems && at + itemSize <= reply.bytes.size();
         at += itemSize) {
        TW_UINT32 item = 0;
        std::memcpy(&item, &reply.bytes[at], itemSize);
        result.items.push_back(item);
    }
    return result;
}

// The one-value a successful query answers.
OneValue Current(HostSession& host, TW_UINT16 capability, TW_UINT16 msg = MSG_GETCURRENT) {
    CapReply reply = Query(host, msg, capability);
    EXPECT_EQ(reply.rc, TWRC_SUCCESS) << "capability 0x" << std::hex << capability;
    return AsOneValue(reply);
}

TW_UINT32 CurrentItem(HostSession& host, TW_UINT16 capability) { return Current(host, capability).item; }

void ExpectRefused(const CapReply& reply, TW_UINT16 condition) {
    EXPECT_EQ(reply.rc, TWRC_FAILURE);
    EXPECT_EQ(reply.condition, condition);
    EXPECT_EQ(reply.conType, 0) << "a refused call handed out a container";
}

void ExpectAccepted(const CapReply& reply) {
    EXPECT_EQ(reply.rc, TWRC_SUCCESS);
    EXPECT_EQ(reply.condition, TWCC_SUCCESS);
}

const std::vector<TW_UINT32> kResolutions = {75, 100, 150, 200, 300, 400, 500, 600};

struct Expected {
    TW_UINT16 cap;
    TW_UINT16 itemType;
    TW_UINT32 item;
};

// Every one-value answer of the general handler right after MSG_OPENDS with
// a scanner without feeder.
const Expected kOneValueAnswers[] = {
    {CAP_XFERCOUNT, TWTY_INT16, 0xFFFFFFFF},
    {ICAP_COMPRESSION, TWTY_UINT16, TWCP_NONE},
    {ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW},
    {ICAP_UNITS, TWTY_UINT16, TWUN_INCHES},
    {ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY},
    {CAP_FEEDERENABLED, TWTY_BOOL, 0},
    {CAP_AUTOFEED, TWTY_BOOL, 0},
    {CAP_INDICATORS, TWTY_BOOL, 0},
    {ICAP_BRIGHTNESS, TWTY_FIX32, Fix(0)},
    {ICAP_CONTRAST, TWTY_FIX32, Fix(0)},
    {ICAP_FILTER, TWTY_UINT16, TWFT_NONE},
    {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_TIFF},
    {ICAP_LIGHTSOURCE, TWTY_UINT16, TWLS_WHITE},
    {ICAP_PHYSICALWIDTH, TWTY_FIX32, Fix(11, 39322)},
    {ICAP_PHYSICALHEIGHT, TWTY_FIX32, Fix(17)},
    {ICAP_XRESOLUTION, TWTY_FIX32, Fix(300)},
    {ICAP_YRESOLUTION, TWTY_FIX32, Fix(300)},
    {ICAP_PIXELFLAVOR, TWTY_BOOL, 0},
    {ICAP_PLANARCHUNKY, TWTY_UINT16, TWPC_CHUNKY},  // the data is always chunky
    {ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_NONE},
    {CAP_UICONTROLLABLE, TWTY_BOOL, 1},
    {CAP_DEVICEONLINE, TWTY_BOOL, 1},
    {ICAP_BITDEPTH, TWTY_UINT16, 1},  // line art
    {ICAP_BITORDER, TWTY_UINT16, TWBO_MSBFIRST},
    {ICAP_XNATIVERESOLUTION, TWTY_FIX32, Fix(1200)},
    {ICAP_YNATIVERESOLUTION, TWTY_FIX32, Fix(1200)},
};

bool AnsweredAsListOrRange(TW_UINT16 capability) {
    return capability == ICAP_BRIGHTNESS || capability == ICAP_CONTRAST || capability == ICAP_XRESOLUTION ||
           capability == ICAP_YRESOLUTION || capability == ICAP_SUPPORTEDSIZES;
}

const TW_UINT16 kUnsupported[] = {CAP_EXTENDEDCAPS, CAP_CLEARPAGE, CAP_FEEDPAGE, CAP_REWINDPAGE,
                                  ICAP_AUTOBRIGHT,  CAP_AUTHOR,    ICAP_GAMMA,   CAP_FEEDERLOADED};

class CapabilityTest : public SourceTest {
protected:
    // Opens as a host of this product name and family.
    void OpenAs(const char* productName, const char* family = "tests") {
        ASSERT_TRUE(host.OpenDsm(productName, 5, family));
        ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    }

    HostSession host;
};

TEST_F(CapabilityTest, CurrentAndDefaultAnswersAfterOpen) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    for (const Expected& expected : kOneValueAnswers) {
        for (TW_UINT16 msg : {MSG_GETCURRENT, MSG_GETDEFAULT, MSG_GET}) {
            if (msg == MSG_GET && AnsweredAsListOrRange(expected.cap)) continue;
            SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << expected.cap << " msg " << msg);
            OneValue value = Current(host, expected.cap, msg);
            EXPECT_EQ(value.itemType, expected.itemType);
            EXPECT_EQ(value.item, expected.item);
        }
    }
}

TEST_F(CapabilityTest, GetAnswersRangesAndEnumerations) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    for (TW_UINT16 capability : {ICAP_BRIGHTNESS, ICAP_CONTRAST}) {
        CapReply reply = Query(host, MSG_GET, capability);
        ASSERT_EQ(reply.rc, TWRC_SUCCESS);
        TW_RANGE range = AsRange(reply);
        EXPECT_EQ(range.ItemType, TWTY_FIX32);
        EXPECT_EQ(range.MinValue, Fix(-1000));
        EXPECT_EQ(range.MaxValue, Fix(1000));
        EXPECT_EQ(range.StepSize, Fix(80));
        EXPECT_EQ(range.DefaultValue, Fix(0));
        EXPECT_EQ(range.CurrentValue, Fix(0));
    }
    for (TW_UINT16 capability : {ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
        Enumeration list = AsEnumeration(Query(host, MSG_GET, capability));
        EXPECT_EQ(list.itemType, TWTY_UINT32);
        EXPECT_EQ(list.numItems, 8u);
        EXPECT_EQ(list.currentIndex, 4u);
        EXPECT_EQ(list.defaultIndex, 4u);
        EXPECT_EQ(list.items, kResolutions);
    }
    Enumeration sizes = AsEnumeration(Query(host, MSG_GET, ICAP_SUPPORTEDSIZES));
    EXPECT_EQ(sizes.itemType, TWTY_UINT16);
    EXPECT_EQ(sizes.currentIndex, 0u);
    EXPECT_EQ(sizes.defaultIndex, 0u);
    EXPECT_EQ(sizes.items, (std::vector<TW_UINT32>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(CapabilityTest, UnsupportedCapabilitiesAndMessagesAreRefused) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    for (TW_UINT16 capability : kUnsupported) {
        for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
            SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << capability << " msg " << msg);
            ExpectRefused(Query(host, msg, capability), TWCC_BADCAP);
        }
    }
    for (TW_UINT16 msg : {MSG_NULL, MSG_GETFIRST, MSG_GETNEXT, TW_UINT16(MSG_RESET + 1), MSG_ENDXFER}) {
        SCOPED_TRACE(testing::Message() << "msg " << msg);
        ExpectRefused(Query(host, msg, ICAP_PIXELTYPE), TWCC_BADPROTOCOL);
    }
}

TEST_F(CapabilityTest, SupportedCapsListsEveryCapabilityThatAnswers) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
        const CapReply reply = Query(host, msg, CAP_SUPPORTEDCAPS);
        ASSERT_EQ(reply.rc, TWRC_SUCCESS);
        EXPECT_EQ(reply.conType, TWON_ARRAY);
        ASSERT_GE(reply.bytes.size(), 6u);
        TW_UINT16 itemType = 0;
        TW_UINT32 count = 0;
        std::memcpy(&itemType, reply.bytes.data(), 2);
        std::memcpy(&count, reply.bytes.data() + 2, 4);
        EXPECT_EQ(itemType, TWTY_UINT16);
        ASSERT_EQ(reply.bytes.size(), 6 + 2 * size_t{count});
        std::vector<TW_UINT16> listed(count);
        std::memcpy(listed.data(), reply.bytes.data() + 6, 2 * size_t{count});
        for (const Expected& expected : kOneValueAnswers)
            EXPECT_NE(std::find(listed.begin(), listed.end(), expected.cap), listed.end()) << expected.cap;
        for (TW_UINT16 capability : listed)
            EXPECT_EQ(Query(host, MSG_GETCURRENT, capability).rc, TWRC_SUCCESS) << capability;
        for (TW_UINT16 capability : kUnsupported)
            EXPECT_EQ(std::find(listed.begin(), listed.end(), capability), listed.end()) << capability;
    }
    ExpectRefused(SetOne(host, CAP_SUPPORTEDCAPS, TWTY_UINT16, ICAP_PIXELTYPE), TWCC_BADVALUE);
}

TEST_F(CapabilityTest, ReadOnlyCapabilitiesTakeOnlyTheirOwnValue) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_BITORDER, TWTY_UINT16, TWBO_MSBFIRST));
    ExpectRefused(SetOne(host, ICAP_BITORDER, TWTY_UINT16, TWBO_LSBFIRST), TWCC_BADVALUE);
    ExpectAccepted(SetOne(host, ICAP_XNATIVERESOLUTION, TWTY_FIX32, Fix(1200)));
    ExpectRefused(SetOne(host, ICAP_YNATIVERESOLUTION, TWTY_FIX32, Fix(600)), TWCC_BADVALUE);
    // The bit depth follows the pixel type and cannot be set apart from it.
    const std::pair<TW_UINT16, TW_UINT32> depths[] = {{TWPT_GRAY, 8}, {TWPT_RGB, 24}, {TWPT_BW, 1}};
    for (const auto& [pixelType, depth] : depths) {
        ExpectAccepted(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, pixelType));
        EXPECT_EQ(CurrentItem(host, ICAP_BITDEPTH), depth);
        ExpectRefused(SetOne(host, ICAP_BITDEPTH, TWTY_UINT16, depth == 8 ? 24 : 8), TWCC_BADVALUE);
        ExpectAccepted(SetOne(host, ICAP_BITDEPTH, TWTY_UINT16, depth));
        EXPECT_EQ(AsOneValue(Query(host, MSG_RESET, ICAP_BITDEPTH)).item, depth);
    }
}

TEST_F(CapabilityTest, ResolutionTakesTheWholePartAndIsSharedByBothAxes) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_XRESOLUTION, TWTY_FIX32, Fix(150, 0x8000)));
    EXPECT_EQ(CurrentItem(host, ICAP_XRESOLUTION), Fix(150));
    EXPECT_EQ(AsEnumeration(Query(host, MSG_GET, ICAP_YRESOLUTION)).currentIndex, 2u);
    EXPECT_EQ(AsEnumeration(Query(host, MSG_GET, ICAP_XRESOLUTION)).currentIndex, 2u);

    ExpectRefused(SetOne(host, ICAP_YRESOLUTION, TWTY_FIX32, Fix(250)), TWCC_BADVALUE);
    EXPECT_EQ(CurrentItem(host, ICAP_YRESOLUTION), Fix(150));

    // A plain integer is taken as well.
    ExpectAccepted(SetOne(host, ICAP_YRESOLUTION, TWTY_UINT32, 600));
    EXPECT_EQ(CurrentItem(host, ICAP_XRESOLUTION), Fix(600));
}

TEST_F(CapabilityTest, EnumerationAppliesItsFirstItemWhateverItsCurrentIndex) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(Set(host, ICAP_PIXELTYPE, TWON_ENUMERATION,
                       EnumerationBlock(TWTY_UINT16, {TWPT_GRAY, TWPT_BW, TWPT_RGB}, 2)));
    EXPECT_EQ(CurrentItem(host, ICAP_PIXELTYPE), TWPT_GRAY);
    ExpectAccepted(Set(host, ICAP_XRESOLUTION, TWON_ENUMERATION, EnumerationBlock(TWTY_UINT32, {400, 75, 100}, 2)));
    EXPECT_EQ(CurrentItem(host, ICAP_XRESOLUTION), Fix(400));
}

TEST_F(CapabilityTest, ListValuesOutsideTheirListAreRefusedAndChangeNothing) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB));
    ExpectAccepted(SetOne(host, ICAP_UNITS, TWTY_UINT16, TWUN_PIXELS));
    ExpectAccepted(SetOne(host, ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_BMP));
    ExpectRefused(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_CMYK), TWCC_BADVALUE);
    ExpectRefused(SetOne(host, ICAP_UNITS, TWTY_UINT16, 6), TWCC_BADVALUE);
    ExpectRefused(SetOne(host, ICAP_IMAGEFILEFORMAT, TWTY_UINT16, 4), TWCC_BADVALUE);
    EXPECT_EQ(CurrentItem(host, ICAP_PIXELTYPE), TWPT_RGB);
    EXPECT_EQ(CurrentItem(host, ICAP_UNITS), TWUN_PIXELS);
    EXPECT_EQ(CurrentItem(host, ICAP_IMAGEFILEFORMAT), TWFF_BMP);

    // A size not in the list is accepted and ignored.
    ExpectAccepted(SetOne(host, ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_USLEGAL));
    ExpectAccepted(SetOne(host, ICAP_SUPPORTEDSIZES, TWTY_UINT16, 20));
    EXPECT_EQ(CurrentItem(host, ICAP_SUPPORTEDSIZES), TWSS_USLEGAL);
    EXPECT_EQ(AsEnumeration(Query(host, MSG_GET, ICAP_SUPPORTEDSIZES)).currentIndex, 4u);
}

TEST_F(CapabilityTest, BrightnessAndContrastStayWithinTheirRange) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_BRIGHTNESS, TWTY_FIX32, Fix(500)));
    EXPECT_EQ(CurrentItem(host, ICAP_BRIGHTNESS), Fix(500));
    EXPECT_EQ(Current(host, ICAP_BRIGHTNESS, MSG_GETDEFAULT).item, Fix(500));
    TW_RANGE range = AsRange(Query(host, MSG_GET, ICAP_BRIGHTNESS));
    EXPECT_EQ(range.CurrentValue, Fix(500));
    EXPECT_EQ(range.DefaultValue, Fix(0));

    ExpectRefused(SetOne(host, ICAP_BRIGHTNESS, TWTY_FIX32, Fix(1001)), TWCC_BADVALUE);
    ExpectRefused(SetOne(host, ICAP_BRIGHTNESS, TWTY_FIX32, Fix(-1001)), TWCC_BADVALUE);
    EXPECT_EQ(CurrentItem(host, ICAP_BRIGHTNESS), Fix(500));

    ExpectAccepted(SetOne(host, ICAP_CONTRAST, TWTY_FIX32, Fix(-1000, 0x4000)));
    EXPECT_EQ(CurrentItem(host, ICAP_CONTRAST), Fix(-1000));
    EXPECT_EQ(CurrentItem(host, ICAP_BRIGHTNESS), Fix(500)) << "contrast and brightness are separate";
}

TEST_F(CapabilityTest, ResetRestoresTheDefaultAndAnswersIt) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_BRIGHTNESS, TWTY_FIX32, Fix(200)));
    ExpectAccepted(SetOne(host, ICAP_CONTRAST, TWTY_FIX32, Fix(300)));
    ExpectAccepted(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB));
    ExpectAccepted(SetOne(host, ICAP_UNITS, TWTY_UINT16, TWUN_TWIPS));
    ExpectAccepted(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, TWSX_FILE));
    ExpectAccepted(SetOne(host, ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_BMP));
    ExpectAccepted(SetOne(host, ICAP_XRESOLUTION, TWTY_FIX32, Fix(600)));
    ExpectAccepted(SetOne(host, ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_A5));

    const Expected kResetAnswers[] = {
        {ICAP_BRIGHTNESS, TWTY_FIX32, Fix(0)},        {ICAP_CONTRAST, TWTY_FIX32, Fix(0)},
        {ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW},       {ICAP_UNITS, TWTY_UINT16, TWUN_INCHES},
        {ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY},    {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_TIFF},
        {ICAP_YRESOLUTION, TWTY_FIX32, Fix(300)},     {ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_NONE},
    };
    for (const Expected& expected : kResetAnswers) {
        SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << expected.cap);
        OneValue answer = Current(host, expected.cap, MSG_RESET);
        EXPECT_EQ(answer.itemType, expected.itemType);
        EXPECT_EQ(answer.item, expected.item);
        EXPECT_EQ(CurrentItem(host, expected.cap), expected.item);
    }
    EXPECT_EQ(CurrentItem(host, ICAP_XRESOLUTION), Fix(300));
}

TEST_F(CapabilityTest, SetOfAFixedCapabilityIsAcceptedButReportsBadValue) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    CapReply reply = SetOne(host, ICAP_COMPRESSION, TWTY_UINT16, 5);
    EXPECT_EQ(reply.rc, TWRC_SUCCESS);
    EXPECT_EQ(reply.condition, TWCC_BADVALUE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS) << "DAT_STATUS clears the condition";
    EXPECT_EQ(CurrentItem(host, ICAP_COMPRESSION), TWCP_NONE);

    // The value is read before the capability is looked at: a BOOL is refused as unreadable.
    for (TW_UINT16 capability : {CAP_CLEARPAGE, CAP_FEEDPAGE}) {
        ExpectRefused(SetOne(host, capability, TWTY_UINT16, 1), TWCC_BADCAP);
        ExpectRefused(SetOne(host, capability, TWTY_BOOL, 1), TWCC_BADVALUE);
    }
}

TEST_F(CapabilityTest, TransferMechanismOfAnOrdinaryHost) {
    OpenAs("iphoto plus 4");  // the product names are compared case-sensitively
    for (TW_UINT16 mechanism : {TWSX_MEMORY, TWSX_NATIVE, TWSX_FILE}) {
        ExpectAccepted(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, mechanism));
        EXPECT_EQ(CurrentItem(host, ICAP_XFERMECH), mechanism);
    }
    ExpectRefused(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, 3), TWCC_BADVALUE);
    EXPECT_EQ(CurrentItem(host, ICAP_XFERMECH), TWSX_FILE);
}

TEST_F(CapabilityTest, TransferMechanismOfThePhotoHostIsAlwaysMemory) {
    OpenAs("iPhoto Plus 4");
    ExpectAccepted(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, TWSX_FILE));
    EXPECT_EQ(CurrentItem(host, ICAP_XFERMECH), TWSX_MEMORY);
    ExpectRefused(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE), TWCC_BADVALUE);
    EXPECT_EQ(CurrentItem(host, ICAP_XFERMECH), TWSX_MEMORY);
}

TEST_F(CapabilityTest, TransferMechanismOfThePluginHostBecomesMemory) {
    OpenAs("Acquire Image Plugin", "Adobe PageMaker");
    ExpectAccepted(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE));
    EXPECT_EQ(CurrentItem(host, ICAP_XFERMECH), TWSX_MEMORY);
}

TEST_F(CapabilityTest, TransferMechanismOfOtherProductsOfThePluginFamilyIsRefused) {
    OpenAs("PageMaker 6.5", "Adobe PageMaker");
    ExpectRefused(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, TWSX_FILE), TWCC_BADVALUE);
    ExpectRefused(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY), TWCC_BADVALUE);
    EXPECT_EQ(CurrentItem(host, ICAP_XFERMECH), TWSX_MEMORY);
}

TEST_F(CapabilityTest, FeederCanBeSwitchedOnlyInState4) {
    SetScanner("Feeder=1\n");
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    EXPECT_EQ(CurrentItem(host, CAP_FEEDERENABLED), 1u);
    EXPECT_EQ(Query(host, MSG_GETCURRENT, CAP_FEEDERLOADED).rc, TWRC_SUCCESS);

    ExpectRefused(SetOne(host, CAP_FEEDERENABLED, TWTY_BOOL, 0), TWCC_BADVALUE);
    // The feeder is still enabled: automatic feed is allowed.
    ExpectAccepted(SetOne(host, CAP_AUTOFEED, TWTY_UINT16, 1));

    ExpectAccepted(SetOne(host, CAP_FEEDERENABLED, TWTY_UINT16, 0));
    ExpectRefused(SetOne(host, CAP_AUTOFEED, TWTY_UINT16, 1), TWCC_BADCAP);
    ExpectAccepted(SetOne(host, CAP_FEEDERENABLED, TWTY_UINT16, 1));
    ExpectAccepted(SetOne(host, CAP_AUTOFEED, TWTY_UINT16, 1));

    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    ExpectRefused(SetOne(host, CAP_FEEDERENABLED, TWTY_UINT16, 1), TWCC_SEQERROR);
    ExpectRefused(SetOne(host, CAP_AUTOFEED, TWTY_UINT16, 0), TWCC_SEQERROR);
    // The queries know no state.
    EXPECT_EQ(CurrentItem(host, CAP_FEEDERENABLED), 1u);
}

TEST_F(CapabilityTest, WithoutAFeederTheFeederCapabilitiesAreBadCaps) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectRefused(SetOne(host, CAP_FEEDERENABLED, TWTY_UINT16, 1), TWCC_BADCAP);
    ExpectRefused(SetOne(host, CAP_AUTOFEED, TWTY_UINT16, 1), TWCC_BADCAP);
    ExpectRefused(Query(host, MSG_GETCURRENT, CAP_FEEDERLOADED), TWCC_BADCAP);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    ExpectRefused(SetOne(host, CAP_FEEDERENABLED, TWTY_UINT16, 1), TWCC_BADCAP);
}

TEST_F(CapabilityTest, NegotiationWorksInState5) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY));
    EXPECT_EQ(CurrentItem(host, ICAP_PIXELTYPE), TWPT_GRAY);
}

// Every malformed MSG_SET container is refused with TWCC_BADVALUE and leaves
// the setting alone.
TEST_F(CapabilityTest, MalformedContainersAreRefusedAndChangeNothing) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB));

    auto expectUnchanged = [&](const CapReply& reply, const char* what) {
        SCOPED_TRACE(what);
        ExpectRefused(reply, TWCC_BADVALUE);
        EXPECT_EQ(CurrentItem(host, ICAP_PIXELTYPE), TWPT_RGB);
    };
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ONEVALUE, nullptr), "null container");

    HGLOBAL freed = OneValueBlock(TWTY_UINT16, TWPT_GRAY);
    GlobalFree(freed);
    expectUnchanged(Call(host, MSG_SET, TW_CAPABILITY{ICAP_PIXELTYPE, TWON_ONEVALUE, AsHandle(freed)}),
                    "freed handle");
    // A moveable block of size 0 is discarded: it cannot be locked.
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ONEVALUE, GlobalAlloc(GMEM_MOVEABLE, 0)), "discarded block");

    for (TW_UINT16 itemType : {TWTY_BOOL, TWTY_FRAME, TWTY_STR32, TWTY_STR255, TW_UINT16(0x20)}) {
        SCOPED_TRACE(testing::Message() << "item type " << itemType);
        expectUnchanged(SetOne(host, ICAP_PIXELTYPE, itemType, TWPT_GRAY), "one-value item type");
    }
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ENUMERATION, EnumerationBlock(TWTY_FIX32, {TWPT_GRAY})),
                    "FIX32 enumeration");
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ENUMERATION, EnumerationBlock(TWTY_BOOL, {TWPT_GRAY})),
                    "BOOL enumeration");
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ENUMERATION, EnumerationBlock(TWTY_UINT16, {TWPT_GRAY}, 0, 0)),
                    "no items");
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ENUMERATION,
                        EnumerationBlock(TWTY_UINT16, {TWPT_GRAY, TWPT_BW}, 0, 3)),
                    "more items than the block holds");
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ENUMERATION,
                        EnumerationBlock(TWTY_UINT16, {TWPT_GRAY, TWPT_BW}, 0, 0x80000001)),
                    "item count that overflows");
    TW_UINT16 shortBlock[2] = {TWTY_UINT32, TWPT_GRAY};
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ONEVALUE, MakeBlock(shortBlock, sizeof shortBlock)),
                    "one-value block too short for its item");
    TW_RANGE range{TWTY_UINT16, TWPT_GRAY, TWPT_RGB, 1, TWPT_GRAY, TWPT_GRAY};
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_RANGE, MakeBlock(&range, sizeof range)), "range container");
    expectUnchanged(Set(host, ICAP_PIXELTYPE, TWON_ARRAY, EnumerationBlock(TWTY_UINT16, {TWPT_GRAY})),
                    "array container");

    // The block's exact size decides: two UINT16 items fit 18 bytes.
    ExpectAccepted(Set(host, ICAP_PIXELTYPE, TWON_ENUMERATION, EnumerationBlock(TWTY_UINT16, {TWPT_GRAY, TWPT_BW})));
    EXPECT_EQ(CurrentItem(host, ICAP_PIXELTYPE), TWPT_GRAY);
}

TEST_F(CapabilityTest, NullDataIsRefused) {
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_SET, MSG_RESET}) {
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_CAPABILITY, msg, nullptr), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_BADVALUE);
    }
}

TEST_F(CapabilityTest, ReopenResetsTheNegotiatedValuesAndReadsTheFeederAgain) {
    SetScanner("Feeder=1\n");
    DirectSource loaded;  // keeps the library, and its state, loaded across the close
    ASSERT_NE(loaded.module, nullptr);
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ExpectAccepted(SetOne(host, ICAP_BRIGHTNESS, TWTY_FIX32, Fix(100)));
    ExpectAccepted(SetOne(host, ICAP_CONTRAST, TWTY_FIX32, Fix(-100)));
    ExpectAccepted(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB));
    ExpectAccepted(SetOne(host, ICAP_UNITS, TWTY_UINT16, TWUN_POINTS));
    ExpectAccepted(SetOne(host, ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE));
    ExpectAccepted(SetOne(host, ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_BMP));
    ExpectAccepted(SetOne(host, ICAP_XRESOLUTION, TWTY_FIX32, Fix(75)));
    ExpectAccepted(SetOne(host, ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_B4));
    ExpectAccepted(SetOne(host, ICAP_PLANARCHUNKY, TWTY_UINT16, 1));
    ExpectAccepted(SetOne(host, ICAP_PIXELFLAVOR, TWTY_UINT16, 1));
    ExpectAccepted(SetOne(host, CAP_FEEDERENABLED, TWTY_UINT16, 0));
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);

    ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    for (const Expected& expected : kOneValueAnswers) {
        if (expected.cap == CAP_FEEDERENABLED) continue;  // a feeder is fitted here
        SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << expected.cap);
        EXPECT_EQ(CurrentItem(host, expected.cap), expected.item);
    }
    // The open read the feeder again and enabled it.
    ExpectAccepted(SetOne(host, CAP_AUTOFEED, TWTY_UINT16, 1));
}

class PublisherTest : public CapabilityTest {
protected:
    void SetUp() override {
        CapabilityTest::SetUp();
        OpenAs("Microsoft Publisher");
    }

    // The text block a CAP_AUTHOR/CAPTION/TIMEDATE answer refers to.
    std::string TextAnswer(TW_UINT16 capability, size_t expectedSize) {
        OneValue value = Current(host, capability, MSG_GET);
        EXPECT_EQ(value.itemType, TWTY_UINT32);
        size_t size = 0;
        std::vector<uint8_t> bytes = TakeBlock(value.item, size);
        EXPECT_EQ(size, expectedSize);
        EXPECT_TRUE(std::memchr(bytes.data(), 0, bytes.size())) << "text without terminating zero";
        const char* text = reinterpret_cast<const char*>(bytes.data());
        return std::string(text, strnlen(text, size));
    }
};

TEST_F(PublisherTest, ListsAndCurrentValues) {
    Enumeration types = AsEnumeration(Query(host, MSG_GET, ICAP_PIXELTYPE));
    EXPECT_EQ(types.itemType, TWTY_UINT16);
    EXPECT_EQ(types.items, (std::vector<TW_UINT32>{TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE}));
    EXPECT_EQ(types.currentIndex, 0u);
    EXPECT_EQ(AsEnumeration(Query(host, MSG_GET, ICAP_UNITS)).items.size(), 6u);
    EXPECT_EQ(AsEnumeration(Query(host, MSG_GET, ICAP_XFERMECH)).currentIndex, 2u);
    EXPECT_EQ(AsEnumeration(Query(host, MSG_GET, ICAP_IMAGEFILEFORMAT)).items.size(), 4u);
    Enumeration resolutions = AsEnumeration(Query(host, MSG_GET, ICAP_YRESOLUTION));
    EXPECT_EQ(resolutions.items, kResolutions);
    EXPECT_EQ(resolutions.currentIndex, 4u);

    for (TW_UINT16 msg : {MSG_GETCURRENT, MSG_GETDEFAULT}) {
        for (TW_UINT16 capability : {ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
            OneValue resolution = Current(host, capability, msg);
            EXPECT_EQ(resolution.itemType, TWTY_UINT32);
            EXPECT_EQ(resolution.item, 300u);
        }
    }
    const Expected kDefaults[] = {
        {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_TIFF}, {ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW},
        {ICAP_UNITS, TWTY_UINT16, TWUN_INCHES},         {ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY},
        {CAP_XFERCOUNT, TWTY_INT16, 0xFFFFFFFF},        {ICAP_COMPRESSION, TWTY_UINT16, TWCP_NONE},
        {ICAP_FILTER, TWTY_UINT16, TWFT_NONE},          {ICAP_LIGHTSOURCE, TWTY_UINT16, TWLS_WHITE},
        {ICAP_PIXELFLAVOR, TWTY_BOOL, 0},
    };
    for (const Expected& expected : kDefaults) {
        for (TW_UINT16 msg : {MSG_GETCURRENT, MSG_GETDEFAULT}) {
            SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << expected.cap << " msg " << msg);
            OneValue value = Current(host, expected.cap, msg);
            EXPECT_EQ(value.itemType, expected.itemType);
            EXPECT_EQ(value.item, expected.item);
        }
    }
}

TEST_F(PublisherTest, SetAndResetSucceedWithoutEffect) {
    ExpectAccepted(SetOne(host, ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB));
    ExpectAccepted(SetOne(host, ICAP_XRESOLUTION, TWTY_UINT32, 600));
    ExpectAccepted(SetOne(host, ICAP_BRIGHTNESS, TWTY_FIX32, Fix(5000)));
    ExpectAccepted(Set(host, ICAP_XFERMECH, TWON_ONEVALUE, nullptr));
    ExpectAccepted(Query(host, MSG_RESET, ICAP_UNITS));
    ExpectAccepted(Query(host, MSG_GETFIRST, CAP_SUPPORTEDCAPS));
    EXPECT_EQ(CurrentItem(host, ICAP_PIXELTYPE), TWPT_BW);
    EXPECT_EQ(CurrentItem(host, ICAP_XRESOLUTION), 300u);
}

TEST_F(PublisherTest, RefusedAndUnknownCapabilities) {
    const TW_UINT16 kRefused[] = {
        ICAP_AUTOBRIGHT,       ICAP_BRIGHTNESS,  ICAP_CONTRAST,    ICAP_CUSTHALFTONE,    ICAP_EXPOSURETIME,
        ICAP_FLASHUSED,        ICAP_GAMMA,       ICAP_HALFTONES,   ICAP_HIGHLIGHT,       ICAP_LAMPSTATE,
        ICAP_ORIENTATION,      ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT, ICAP_SHADOW,     ICAP_FRAMES,
        ICAP_XNATIVERESOLUTION, ICAP_YNATIVERESOLUTION, ICAP_MAXFRAMES, ICAP_TILES,      ICAP_BITORDER,
        ICAP_CCITTKFACTOR,     ICAP_LIGHTPATH,   ICAP_PLANARCHUNKY, ICAP_ROTATION,       ICAP_SUPPORTEDSIZES,
        ICAP_THRESHOLD,        ICAP_XSCALING,    ICAP_YSCALING,    ICAP_BITORDERCODES,   ICAP_PIXELFLAVORCODES,
        ICAP_JPEGPIXELTYPE,    ICAP_TIMEFILL};
    for (TW_UINT16 capability : kRefused) {
        SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << capability);
        ExpectRefused(Query(host, MSG_GET, capability), TWCC_BADVALUE);
        ExpectRefused(Query(host, MSG_GETCURRENT, capability), TWCC_BADVALUE);
    }
    for (TW_UINT16 capability : {CAP_SUPPORTEDCAPS, CAP_FEEDERENABLED, CAP_AUTOFEED, TW_UINT16(0x8001)}) {
        SCOPED_TRACE(testing::Message() << "capability 0x" << std::hex << capability);
        ExpectRefused(Query(host, MSG_GETDEFAULT, capability), TWCC_BADCAP);
    }
}

TEST_F(PublisherTest, AuthorCaptionAndTimeAreTextBlocksTheHostFrees) {
    EXPECT_EQ(TextAnswer(CAP_AUTHOR, 130), SourceText(4));
    EXPECT_FALSE(SourceText(4).empty());
    EXPECT_EQ(TextAnswer(CAP_CAPTION, 256), "SCANNER Scanners");

    time_t before = time(nullptr);
    std::string stamp = TextAnswer(CAP_TIMEDATE, 66);
    time_t after = time(nullptr);
    ASSERT_EQ(stamp.size(), 25u);
    EXPECT_EQ(stamp[24], '\n');
    EXPECT_TRUE(stamp == ctime(&before) || stamp == ctime(&after)) << stamp;
}

TEST_F(PublisherTest, CaptionNamesTheBrandAndIsCutToItsBlock) {
    SetProfile("KVSINFO_A3", "BRAND", "Tellaris");
    EXPECT_EQ(TextAnswer(CAP_CAPTION, 256), "Tellaris Scanners");
    std::string longBrand(300, 'B');
    SetProfile("KVSINFO_A3", "BRAND", longBrand.c_str());
    EXPECT_EQ(TextAnswer(CAP_CAPTION, 256).size(), 255u);
}

TEST_F(PublisherTest, QueriesWorkInState5) {
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    EXPECT_EQ(AsEnumeration(Query(host, MSG_GET, ICAP_PIXELTYPE)).items.size(), 4u);
}

}  // namespace

// A host that sends random triplets from a seed: every triplet the source
// knows and some it does not, well-formed structures with random field
// values, null pointers where a structure is due, calls from a second
// application, and closing and opening the source as a host does. After each
// call the source must have answered, DAT_STATUS must agree with the return
// code, and the state the source is in must be the one this host's own model
// of the TWAIN state machine expects. A normal scan works at the end.
//
// KVSC_TRIPLETS sets how many (5,000 unless set), KVSC_TRIPLET_SEED the seed;
// KVSC_TRIPLET_TRACE=1 prints each triplet before it is sent.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/acquire_fixture.h"

namespace {

using namespace dstest;

long FromEnvironment(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

struct Triplet {
    TW_UINT32 dg;
    TW_UINT16 dat, msg;
};

// Every triplet the source routes.
const Triplet kKnown[] = {
    {DG_CONTROL, DAT_CAPABILITY, MSG_GET},         {DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT},
    {DG_CONTROL, DAT_CAPABILITY, MSG_GETDEFAULT},  {DG_CONTROL, DAT_CAPABILITY, MSG_SET},
    {DG_CONTROL, DAT_CAPABILITY, MSG_RESET},       {DG_CONTROL, DAT_IDENTITY, MSG_GET},
    {DG_CONTROL, DAT_IDENTITY, MSG_OPENDS},        {DG_CONTROL, DAT_PENDINGXFERS, MSG_GET},
    {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},   {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET},
    {DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET},       {DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET},
    {DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT}, {DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET},
    {DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET},    {DG_CONTROL, DAT_STATUS, MSG_GET},
    {DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS}, {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
    {DG_CONTROL, DAT_XFERGROUP, MSG_GET},          {DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT},
    {DG_IMAGE, DAT_IMAGEINFO, MSG_GET},            {DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET},
    {DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETDEFAULT},   {DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET},
    {DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET},        {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},
    {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},      {DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET},
};

// Structures a DAT that does not route by message may be given.
bool RoutesEveryMessage(TW_UINT16 dat) { return dat == DAT_CAPABILITY || dat == DAT_PENDINGXFERS; }

const TW_UINT16 kCapabilities[] = {
    CAP_XFERCOUNT,        ICAP_COMPRESSION,  ICAP_PIXELTYPE,    ICAP_UNITS,         ICAP_XFERMECH,
    CAP_SUPPORTEDCAPS,    CAP_FEEDERENABLED, CAP_FEEDERLOADED,  CAP_UICONTROLLABLE, CAP_DEVICEONLINE,
    CAP_INDICATORS,       ICAP_BRIGHTNESS,   ICAP_CONTRAST,     ICAP_GAMMA,         ICAP_HIGHLIGHT,
    ICAP_SHADOW,          ICAP_BITDEPTH,     ICAP_XRESOLUTION,  ICAP_YRESOLUTION,   ICAP_XNATIVERESOLUTION,
    ICAP_PHYSICALWIDTH,   ICAP_PHYSICALHEIGHT, ICAP_IMAGEFILEFORMAT, ICAP_PIXELFLAVOR, ICAP_BITORDER,
    ICAP_PLANARCHUNKY,    ICAP_SUPPORTEDSIZES, ICAP_XSCALING,   ICAP_YSCALING,      ICAP_THRESHOLD,
    ICAP_LIGHTPATH,       ICAP_ORIENTATION,  ICAP_FILTER,       ICAP_LAMPSTATE,     CAP_AUTHOR,
};

class RandomTripletsTest : public AcquireTest {
protected:
    void SetUp() override {
        AcquireTest::SetUp();
        Connect("");
        recorder.defaultAnswer = IDOK;
    }
    void TearDown() override {
        for (const std::string& file : files) DeleteFileA(file.c_str());
        AcquireTest::TearDown();
    }

    uint32_t Random(uint32_t below) { return std::uniform_int_distribution<uint32_t>(0, below - 1)(random); }
    bool Chance(uint32_t percent) { return Random(100) < percent; }
    // A value for `cap`: resolutions and scaling stay ordinary, so that an
    // image is never larger than a few megabytes; anything goes for the rest.
    uint32_t CapValue(TW_UINT16 cap) {
        const bool size = cap == ICAP_XRESOLUTION || cap == ICAP_YRESOLUTION || cap == ICAP_XSCALING ||
                          cap == ICAP_YSCALING;
        if (!size) return AnyValue();
        if (Chance(10)) return Chance(50) ? 0 : 0xFFFFFFFFu;
        const TW_FIX32 value = Fix32FromInt(static_cast<int32_t>(25 + Random(176)));
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }
    uint32_t AnyValue() {
        switch (Random(4)) {
            case 0: return Random(4);
            case 1: return Random(300);
            case 2: return 0xFFFFFFFFu - Random(4);
            default: return random();
        }
    }

    // A container for MSG_SET: well formed, of a random kind, random values.
    HGLOBAL Container(TW_UINT16 cap, TW_UINT16 conType) {
        const TW_UINT16 itemType = Chance(90) ? static_cast<TW_UINT16>(Random(13)) : static_cast<TW_UINT16>(random());
        const uint32_t items = Random(6);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64 + items * 256);
        auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
        switch (conType) {
            case TWON_ONEVALUE: {
                auto* one = reinterpret_cast<TW_ONEVALUE*>(bytes);
                one->ItemType = itemType;
                one->Item = CapValue(cap);
                break;
            }
            case TWON_RANGE: {
                auto* range = reinterpret_cast<TW_RANGE*>(bytes);
                *range = {itemType, CapValue(cap), CapValue(cap), AnyValue(), CapValue(cap), CapValue(cap)};
                break;
            }
            default: {  // enumeration or array: the count fits the block
                auto* list = reinterpret_cast<TW_ENUMERATION*>(bytes);
                list->ItemType = itemType;
                list->NumItems = items;
                list->CurrentIndex = Chance(80) ? Random(items + 1) : AnyValue();
                list->DefaultIndex = Random(items + 1);
                uint8_t* item = conType == TWON_ARRAY ? bytes + 6 : list->ItemList;
                for (uint32_t i = 0; i < items; ++i) {
                    const uint32_t value = CapValue(cap);
                    std::memcpy(item + 4 * i, &value, sizeof value);
                }
            }
        }
        GlobalUnlock(block);
        return block;
    }

    // A file name in the temporary folder, sometimes empty, sometimes 255
    // characters with no terminator.
    void FileName(TW_STR255& name) {
        static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789_";
        if (Chance(10)) {
            for (char& c : name) c = kLetters[Random(sizeof kLetters - 1)];
            return;
        }
        const std::string file = "rnd" + std::to_string(Random(20)) + (Chance(50) ? ".tif" : ".bmp");
        const std::string path = Chance(10) ? "" : TempPath(file.c_str());
        if (!path.empty()) files.insert(path);
        lstrcpynA(name, path.c_str(), sizeof name);
    }

    // Sends `t` as the host, with its structure or a null pointer; frees
    // what the source handed over.
    TW_UINT16 Send(Triplet t, bool nullData) {
        // Every structure the source might read or write, well formed.
        union {
            TW_CAPABILITY capability;
            TW_IDENTITY identity;
            TW_PENDINGXFERS pending;
            TW_SETUPMEMXFER setupMem;
            TW_SETUPFILEXFER setupFile;
            TW_STATUS status;
            TW_USERINTERFACE ui;
            TW_UINT32 group;
            TW_EVENT event;
            TW_IMAGEINFO info;
            TW_IMAGELAYOUT layout;
            TW_IMAGEMEMXFER memXfer;
            TW_HANDLE native;
            uint8_t bytes[512];
        } data;
        for (uint8_t& b : data.bytes) b = static_cast<uint8_t>(random());
        MSG message{};
        HGLOBAL container = nullptr;
        void* pointer = &data;
        switch (t.dat) {
            case DAT_CAPABILITY:
                data.capability.Cap = Chance(85) ? kCapabilities[Random(std::size(kCapabilities))]
                                                 : static_cast<TW_UINT16>(random());
                data.capability.ConType = Chance(90) ? static_cast<TW_UINT16>(TWON_ARRAY + Random(4))
                                                     : static_cast<TW_UINT16>(random());
                if (t.msg == MSG_SET) container = Container(data.capability.Cap, data.capability.ConType);
                data.capability.hContainer = TwainRef(container);
                break;
            case DAT_IDENTITY: lstrcpyA(data.identity.ProductName, "A3 Flatbed Scanner"); break;
            case DAT_SETUPFILEXFER: FileName(data.setupFile.FileName); break;
            case DAT_USERINTERFACE:
                data.ui.ShowUI = Chance(70) ? 0 : Chance(90) ? 1 : static_cast<TW_BOOL>(random());
                data.ui.hParent = Chance(80) ? TwainRef(host.parent) : 0;
                break;
            case DAT_EVENT: {
                // Messages for the dialog that move within it but press no
                // button: a pressed button could open a dialog no one closes.
                static const UINT kMessages[] = {WM_NULL, WM_MOUSEMOVE, WM_KEYDOWN, WM_KEYUP};
                static const WPARAM kKeys[] = {VK_TAB, VK_SHIFT, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
                message.hwnd = Chance(50) ? FindMainDialog() : nullptr;
                message.message = kMessages[Random(std::size(kMessages))];
                message.wParam = kKeys[Random(std::size(kKeys))];
                message.lParam = static_cast<LPARAM>(Random(0x10000));
                data.event.pEvent = TwainRef(&message);
                break;
            }
            case DAT_IMAGEMEMXFER:
                buffer.resize(Random(4) == 0 ? Random(64) : 1 + Random(256 * 1024));
                data.memXfer.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
                data.memXfer.Memory.Length = static_cast<TW_UINT32>(buffer.size());
                data.memXfer.Memory.TheMem = TwainRef(buffer.data());
                break;
            case DAT_IMAGELAYOUT:
                for (TW_FIX32* edge : {&data.layout.Frame.Left, &data.layout.Frame.Top, &data.layout.Frame.Right,
                                       &data.layout.Frame.Bottom})
                    *edge = Fix32FromInt(static_cast<int32_t>(Random(9)) - 2);
                break;
            case DAT_IMAGEFILEXFER: pointer = nullptr; break;
            default: break;
        }
        const TW_UINT16 rc = host.Ds(t.dg, t.dat, t.msg, nullData ? nullptr : pointer);
        if (container) GlobalFree(container);
        if (!nullData && t.dat == DAT_CAPABILITY && t.msg != MSG_SET && rc == TWRC_SUCCESS)
            GlobalFree(TwainPointer<HGLOBAL>(data.capability.hContainer));
        if (!nullData && t.dat == DAT_IMAGENATIVEXFER && rc == TWRC_XFERDONE)
            GlobalFree(TwainPointer<HGLOBAL>(data.native));
        pendingCount = t.dat == DAT_PENDINGXFERS && !nullData ? data.pending.Count : 0;
        if (t.dat == DAT_USERINTERFACE && t.msg == MSG_ENABLEDS) showUI = !nullData && data.ui.ShowUI != 0;
        // The manager hands the source's notifications over in the event.
        handedOver = t.dat == DAT_EVENT && rc == TWRC_DSEVENT && !nullData ? data.event.TWMessage : MSG_NULL;
        return rc;
    }

    // The state after a call of the host from `state`, as the TWAIN state
    // table of this source has it; `maybe` takes a state the call may also
    // leave, where the source may decide either way.
    int Expected(int state, Triplet t, TW_UINT16 rc, int& maybe) const {
        maybe = 0;
        const bool ok = rc != TWRC_FAILURE;
        const bool dataTransfer = t.dat == DAT_IMAGENATIVEXFER || t.dat == DAT_IMAGEFILEXFER;
        if (t.dat == DAT_USERINTERFACE && t.msg == MSG_ENABLEDS && ok && state == 4) return showUI ? 5 : 4;
        if (t.dat == DAT_USERINTERFACE && t.msg == MSG_DISABLEDS && ok && state >= 5) return 4;
        if (t.dat == DAT_PENDINGXFERS && t.msg == MSG_ENDXFER && ok && state >= 6) return pendingCount ? 6 : 5;
        if (t.dat == DAT_PENDINGXFERS && t.msg == MSG_RESET && ok && state >= 6) return 5;
        if (dataTransfer && state == 6) {
            if (ok) return 7;
            maybe = 7;  // a transfer that failed after it began
        }
        if (t.dat == DAT_IMAGEMEMXFER && state == 6) {
            if (ok) return 7;
            maybe = 7;
        }
        return state;
    }

    std::mt19937 random;
    std::vector<uint8_t> buffer;
    std::set<std::string> files;
    TW_UINT16 pendingCount = 0;  // the count the last PENDINGXFERS call left
    bool showUI = false;          // ShowUI of the last MSG_ENABLEDS
    TW_UINT16 handedOver = MSG_NULL;  // a notification the last MSG_PROCESSEVENT brought
};

TEST_F(RandomTripletsTest, TheSourceAnswersEveryTripletInAStateTheHostExpects) {
    const long count = FromEnvironment("KVSC_TRIPLETS", 5000);
    const long seed = FromEnvironment("KVSC_TRIPLET_SEED", 20261210);
    random.seed(static_cast<uint32_t>(seed));
    DirectSource other;  // a second application, calling the source itself
    ASSERT_NE(other.entry, nullptr);

    int state = 4;
    for (long i = 0; i < count && !HasFatalFailure(); ++i) {
        const std::string where = "triplet " + std::to_string(i) + " of seed " + std::to_string(seed);
        if (Chance(1)) {  // the host closes the source and opens it again
            if (state >= 5) {
                if (state >= 6) EndTransfer(MSG_RESET);
                host.Disable();
            }
            ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS) << where;
            ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS) << where;
            state = 4;
            continue;
        }
        if (Chance(3)) {  // another application: refused, and nothing changes
            TW_STATUS status{};
            const Triplet t = kKnown[Random(std::size(kKnown))];
            if (t.dat != DAT_IDENTITY) other.Call(t.dg, t.dat, t.msg, Chance(50) ? &status : nullptr);
            ASSERT_EQ(SourceState(host), state) << where << ": a second application's call";
            continue;
        }
        Triplet t = kKnown[Random(std::size(kKnown))];
        if (Chance(5)) {  // one the source does not know
            t.msg = static_cast<TW_UINT16>(Chance(50) ? random() : MSG_RESET + Random(0x800));
            if (RoutesEveryMessage(t.dat)) t.dat = DAT_XFERGROUP;
            if (Chance(50)) t.dat = static_cast<TW_UINT16>(DAT_IMAGEFILEXFER + 1 + Random(0x200));
        }
        const bool nullData = Chance(8);
        if (std::getenv("KVSC_TRIPLET_TRACE"))
            std::fprintf(stderr, "%ld: DG %u DAT %u MSG %u%s in state %d\n", i, static_cast<unsigned>(t.dg), t.dat,
                         t.msg, nullData ? " (null)" : "", state);
        const TW_UINT16 rc = Send(t, nullData);
        const TW_UINT16 code = host.ConditionCode();
        const std::string call = where + ": DG " + std::to_string(t.dg) + " DAT " + std::to_string(t.dat) +
                                 " MSG " + std::to_string(t.msg) + " rc " + std::to_string(rc);
        // MSG_OPENDS is the manager's to answer (it opens sources), and so
        // is an event without its record; so are their statuses.
        const bool managerAnswers =
            (t.dat == DAT_IDENTITY && t.msg == MSG_OPENDS) || (t.dat == DAT_EVENT && nullData);
        if (managerAnswers) {
            ASSERT_EQ(rc, TWRC_FAILURE) << call;
        } else if (rc == TWRC_FAILURE) {
            ASSERT_NE(code, TWCC_SUCCESS) << call;
        } else if (t.dat == DAT_CAPABILITY && t.msg == MSG_SET) {
            // A capability set without effect is accepted, and says why.
            ASSERT_TRUE(code == TWCC_SUCCESS || code == TWCC_BADVALUE) << call << " code " << code;
        } else if (rc != TWRC_CHECKSTATUS) {
            ASSERT_EQ(code, TWCC_SUCCESS) << call;
        }
        int maybe;
        int expected = Expected(state, t, rc, maybe);
        if (handedOver == MSG_XFERREADY) expected = 6;
        // Notifications the source posted meanwhile.
        host.Pump(0);
        while (host.notificationsTaken < host.notifications.size())
            if (host.notifications[host.notificationsTaken++] == MSG_XFERREADY) expected = 6;
        state = SourceState(host);
        ASSERT_TRUE(state == expected || (maybe != 0 && state == maybe))
            << call << ": state " << state << ", expected " << expected;
    }

    // A normal scan at the end.
    if (state >= 6) EndTransfer(MSG_RESET);
    if (state >= 5) host.Disable();
    Connect("");
    ASSERT_TRUE(ReadyUnattended(TWPT_RGB, 100, TWSX_MEMORY, 0, 0, 2, 1));
    const MemoryBlocks taken = TakeMemoryBlocks();
    EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
    EXPECT_EQ(taken.rows.size(), size_t{200 * 3} * 100);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
}

}  // namespace

// The data source's states 3, 4 and 5: which triplets each state accepts,
// the codes of a refusal, unknown triplets, null records and origins, events
// before the dialog exists, and calls from a second application.
#include <algorithm>
#include <cstring>
#include <vector>

#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

constexpr TW_UINT16 kNoSuchMessage = 0x7777;
constexpr TW_UINT16 kNoSuchDat = 0x0999;

HGLOBAL Block(TW_HANDLE handle) { return TwainPointer<HGLOBAL>(handle); }

// Sends MSG_SET of a one-value container (TWTY_UINT16: the source's readers
// take no TWTY_BOOL) and frees the container again.
// A container the source allocated for the host is the host's to free.
void FreeContainer(TW_CAPABILITY& capability) {
    if (capability.hContainer) GlobalFree(Block(capability.hContainer));
    capability.hContainer = 0;
}

// One record of every kind a triplet reads or writes. The SET records hold
// what the source handed out, so a SET that succeeds changes nothing.
struct Records {
    TW_IDENTITY identity{};
    TW_CAPABILITY capability{};
    TW_PENDINGXFERS pending{};
    TW_SETUPMEMXFER memSetup{};
    TW_SETUPFILEXFER fileSetup{};
    TW_STATUS status{};
    TW_USERINTERFACE ui{};
    TW_UINT32 value = 0;
    TW_IMAGEINFO info{};
    TW_IMAGELAYOUT layout{};
    TW_IMAGEMEMXFER memXfer{};
    uint8_t buffer[256] = {};

    explicit Records(HostSession& host) {
        identity = host.source;
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &fileSetup), TWRC_SUCCESS);
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
        capability.Cap = ICAP_PIXELTYPE;
        ui.ShowUI = 1;
        value = 0xDEADBEEF;
        memXfer.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        memXfer.Memory.Length = sizeof buffer;
        memXfer.Memory.TheMem = TwainRef(buffer);
    }

    void* For(TW_UINT16 dat) {
        switch (dat) {
            case DAT_IDENTITY: return &identity;
            case DAT_CAPABILITY: return &capability;
            case DAT_PENDINGXFERS: return &pending;
            case DAT_SETUPMEMXFER: return &memSetup;
            case DAT_SETUPFILEXFER: return &fileSetup;
            case DAT_STATUS: return &status;
            case DAT_USERINTERFACE: return &ui;
            case DAT_XFERGROUP: return &value;
            case DAT_IMAGEINFO: return &info;
            case DAT_IMAGELAYOUT: return &layout;
            case DAT_IMAGEMEMXFER: return &memXfer;
            case DAT_IMAGENATIVEXFER: return &value;
            case DAT_IMAGEFILEXFER: return &value;
            default: return buffer;
        }
    }
};

// A triplet that leaves the state as it is, with the condition code it gives
// in state 4 and in state 5 (TWCC_SUCCESS: the call succeeds).
struct Row {
    const char* name;
    TW_UINT32 dg;
    TW_UINT16 dat;
    TW_UINT16 msg;
    TW_UINT16 conditionIn4;
    TW_UINT16 conditionIn5;
};

const Row kRows[] = {
    {"IDENTITY GET", DG_CONTROL, DAT_IDENTITY, MSG_GET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"IDENTITY OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWCC_MAXCONNECTIONS, TWCC_MAXCONNECTIONS},
    {"CAPABILITY GETCURRENT", DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, TWCC_SUCCESS, TWCC_SUCCESS},
    {"PENDINGXFERS GET", DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"PENDINGXFERS ENDXFER", DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TWCC_SEQERROR, TWCC_SEQERROR},
    {"PENDINGXFERS RESET", DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, TWCC_SEQERROR, TWCC_SEQERROR},
    {"SETUPMEMXFER GET", DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"XFERGROUP GET", DG_CONTROL, DAT_XFERGROUP, MSG_GET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"IMAGELAYOUT GET", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"IMAGELAYOUT GETDEFAULT", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETDEFAULT, TWCC_SUCCESS, TWCC_SUCCESS},
    {"IMAGELAYOUT SET", DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, TWCC_SUCCESS, TWCC_SEQERROR},
    {"IMAGELAYOUT RESET", DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, TWCC_SUCCESS, TWCC_SEQERROR},
    {"SETUPFILEXFER GET", DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"SETUPFILEXFER GETDEFAULT", DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT, TWCC_SUCCESS, TWCC_SUCCESS},
    {"SETUPFILEXFER SET", DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"SETUPFILEXFER RESET", DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET, TWCC_SUCCESS, TWCC_SEQERROR},
    {"STATUS GET", DG_CONTROL, DAT_STATUS, MSG_GET, TWCC_SUCCESS, TWCC_SUCCESS},
    {"IMAGEINFO GET", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, TWCC_SEQERROR, TWCC_SEQERROR},
    {"IMAGEMEMXFER GET", DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, TWCC_SEQERROR, TWCC_SEQERROR},
    {"IMAGENATIVEXFER GET", DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWCC_SEQERROR, TWCC_SEQERROR},
    {"IMAGEFILEXFER GET", DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, TWCC_SEQERROR, TWCC_SEQERROR},
};

class StateTest : public SourceTest {
protected:
    // Sends every row in the given state and checks its codes, that a refusal
    // leaves the host's record as it was, and that the state stays.
    void CheckRows(HostSession& host, int state) {
        for (const Row& row : kRows) {
            SCOPED_TRACE(row.name);
            TW_UINT16 expected = state == 4 ? row.conditionIn4 : row.conditionIn5;
            Records records(host);
            uint8_t before[sizeof records];
            std::memcpy(before, &records, sizeof records);
            TW_UINT16 rc = host.Ds(row.dg, row.dat, row.msg, records.For(row.dat));
            EXPECT_EQ(rc, expected == TWCC_SUCCESS ? TWRC_SUCCESS : TWRC_FAILURE);
            EXPECT_EQ(host.ConditionCode(), expected);
            // The source manager fills the identity of an MSG_OPENDS itself.
            if (expected != TWCC_SUCCESS && row.msg != MSG_OPENDS) {
                EXPECT_EQ(std::memcmp(&records, before, sizeof records), 0);
            }
            FreeContainer(records.capability);
            EXPECT_EQ(SourceState(host), state);
        }
    }

    // The connected host's own calls, straight to the source: for triplets
    // the source manager would answer itself (DAT_PARENT, null records).
    static void ActAsHost(DirectSource& direct, HostSession& host) { direct.origin = host.app; }
};

TEST_F(StateTest, StateFourAcceptsSetupAndRefusesTransfers) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(SourceState(host), 4);
    CheckRows(host, 4);
}

TEST_F(StateTest, StateFiveRefusesChangesOfLayoutAndFileDefaults) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    ASSERT_EQ(SourceState(host), 5);
    CheckRows(host, 5);
}

TEST_F(StateTest, QueriesAnswerTheConnectionDefaultsInFourAndFive) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    for (int state : {4, 5}) {
        SCOPED_TRACE(state);
        if (state == 5) {
            ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        }
        TW_PENDINGXFERS pending{};
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
        EXPECT_EQ(pending.Count, 1);
        TW_SETUPMEMXFER setup{};
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
        EXPECT_EQ(setup.MinBufSize, 65536u);
        EXPECT_EQ(setup.MaxBufSize, 65536u);
        EXPECT_EQ(setup.Preferred, 65536u);
        TW_UINT32 group = 0;
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group), TWRC_SUCCESS);
        EXPECT_EQ(group, DG_IMAGE);
    }
}

TEST_F(StateTest, StateThreeAnswersOnlyIdentityCapabilityAndEvents) {
    DirectSource direct;
    ASSERT_NE(direct.entry, nullptr);
    TW_IDENTITY identity{};
    identity.Id = 0xABCD;
    ASSERT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
    EXPECT_EQ(identity.Id, 0u);

    // DAT_STATUS itself is refused in state 3, so only the return code of
    // these refusals can be seen.
    const Row refused[] = {
        {"IDENTITY CLOSEDS", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, 0, 0},
        {"STATUS GET", DG_CONTROL, DAT_STATUS, MSG_GET, 0, 0},
        {"USERINTERFACE ENABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, 0, 0},
        {"USERINTERFACE DISABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, 0, 0},
    };
    std::vector<Row> rows(std::begin(refused), std::end(refused));
    for (const Row& row : kRows)
        if (row.dat != DAT_IDENTITY && row.dat != DAT_CAPABILITY) rows.push_back(row);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        uint8_t record[300];
        std::memset(record, 0xA5, sizeof record);
        EXPECT_EQ(direct.Call(row.dg, row.dat, row.msg, record), TWRC_FAILURE);
        EXPECT_EQ(std::count(std::begin(record), std::end(record), 0xA5), long(sizeof record));
    }

    // Capabilities have no state test.
    TW_CAPABILITY capability{ICAP_PIXELTYPE, 0, 0};
    EXPECT_EQ(direct.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &capability), TWRC_SUCCESS);
    EXPECT_EQ(capability.ConType, TWON_ONEVALUE);
    FreeContainer(capability);
    MSG message{};
    TW_EVENT event{TwainRef(&message), 0x1234};
    EXPECT_EQ(direct.Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, 0x1234);

    // Still state 3: the identity is unchanged and the source opens.
    ASSERT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
    EXPECT_EQ(identity.Id, 0u);
    EXPECT_EQ(SourceState(direct), 3);
    identity.Id = 9;
    ASSERT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    EXPECT_EQ(identity.Id, 9u);
    EXPECT_EQ(SourceState(direct), 4);
    // MSG_CLOSEDS needs no record.
    EXPECT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_SUCCESS);
    EXPECT_EQ(SourceState(direct), 3);
}

TEST_F(StateTest, EnableAndDisableMoveBetweenFourAndFive) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    EXPECT_EQ(host.Disable(), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(SourceState(host), 4);

    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);
    EXPECT_EQ(SourceState(host), 5);
    TW_USERINTERFACE again{1, 0, 0};
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &again), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(SourceState(host), 5);

    ASSERT_EQ(host.Disable(), TWRC_SUCCESS);
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);
    EXPECT_EQ(SourceState(host), 4);
    EXPECT_EQ(host.Disable(), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
}

TEST_F(StateTest, CloseReturnsToStateThreeFromFourAndFive) {
    // Held across the sessions, so the library stays loaded and its state
    // can be seen after the source manager let go of it.
    DirectSource direct;
    for (bool enable : {false, true}) {
        SCOPED_TRACE(enable ? "from 5" : "from 4");
        HostSession host;
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
        if (enable) {
            ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        }
        EXPECT_EQ(host.CloseSource(), TWRC_SUCCESS);
        EXPECT_EQ(SourceState(direct), 3);
        EXPECT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &host.source), TWRC_FAILURE);
        EXPECT_EQ(FindMainDialog(), nullptr);
    }
}

TEST_F(StateTest, FeederSwitchIsSetOnlyInStateFour) {
    SetScanner("Feeder=1\n");
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    EXPECT_EQ(host.SetOneValue(CAP_FEEDERENABLED, TWTY_UINT16, 1), TWRC_SUCCESS);
    EXPECT_EQ(host.SetOneValue(CAP_AUTOFEED, TWTY_UINT16, 0), TWRC_SUCCESS);
    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    for (TW_UINT16 cap : {CAP_FEEDERENABLED, CAP_AUTOFEED}) {
        EXPECT_EQ(host.SetOneValue(cap, TWTY_UINT16, 0), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);
    }
    EXPECT_EQ(SourceState(host), 5);
}

TEST_F(StateTest, PublisherVariantAnswersInFourAndFive) {
    HostSession host;
    ASSERT_EQ(Open(host, "Microsoft Publisher"), TWRC_SUCCESS);
    for (int state : {4, 5}) {
        SCOPED_TRACE(state);
        if (state == 5) {
            ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        }
        TW_CAPABILITY capability{ICAP_PIXELTYPE, 0, 0};
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability), TWRC_SUCCESS);
        EXPECT_EQ(capability.ConType, TWON_ENUMERATION);
        FreeContainer(capability);
        EXPECT_EQ(SourceState(host), state);
    }
}

TEST_F(StateTest, UnknownTripletsAreBadProtocolAndTouchNothing) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    DirectSource direct;
    ActAsHost(direct, host);
    struct Unknown {
        const char* name;
        TW_UINT32 dg;
        TW_UINT16 dat;
        TW_UINT16 msg;
    };
    const Unknown unknown[] = {
        {"PARENT OPENDSM", DG_CONTROL, DAT_PARENT, MSG_OPENDSM},
        {"PARENT CLOSEDSM", DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM},
        {"EVENT GET", DG_CONTROL, DAT_EVENT, MSG_GET},
        {"NULL XFERREADY", DG_CONTROL, DAT_NULL, MSG_XFERREADY},
        {"IMAGELAYOUT GETCURRENT", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT},
        {"SETUPFILEXFER GETCURRENT", DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETCURRENT},
        {"STATUS SET", DG_CONTROL, DAT_STATUS, MSG_SET},
        {"PENDINGXFERS unknown message", DG_CONTROL, DAT_PENDINGXFERS, kNoSuchMessage},
        {"SETUPMEMXFER SET", DG_CONTROL, DAT_SETUPMEMXFER, MSG_SET},
        {"XFERGROUP SET", DG_CONTROL, DAT_XFERGROUP, MSG_SET},
        {"IMAGEINFO GETDEFAULT", DG_IMAGE, DAT_IMAGEINFO, MSG_GETDEFAULT},
        {"IDENTITY GETFIRST", DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST},
        {"USERINTERFACE GET", DG_CONTROL, DAT_USERINTERFACE, MSG_GET},
        {"IMAGEMEMXFER SET", DG_IMAGE, DAT_IMAGEMEMXFER, MSG_SET},
        {"IMAGENATIVEXFER RESET", DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_RESET},
        {"unknown DAT", DG_CONTROL, kNoSuchDat, MSG_GET},
        {"CAPABILITY unknown message", DG_CONTROL, DAT_CAPABILITY, kNoSuchMessage},
    };
    for (const Unknown& call : unknown) {
        SCOPED_TRACE(call.name);
        uint8_t record[300];
        std::memset(record, 0, sizeof record);
        reinterpret_cast<TW_CAPABILITY*>(record)->Cap = ICAP_PIXELTYPE;
        uint8_t before[sizeof record];
        std::memcpy(before, record, sizeof record);
        EXPECT_EQ(direct.Call(call.dg, call.dat, call.msg, record), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_BADPROTOCOL);
        EXPECT_EQ(std::memcmp(record, before, sizeof record), 0);
        EXPECT_EQ(SourceState(host), 4);
    }
}

TEST_F(StateTest, DataGroupIsNeverExamined) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    EXPECT_EQ(host.SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB, DG_IMAGE), TWRC_SUCCESS);

    for (TW_UINT32 group : {DG_CONTROL, DG_IMAGE, TW_UINT32(0), TW_UINT32(0x12345678)}) {
        SCOPED_TRACE(group);
        TW_CAPABILITY get{ICAP_PIXELTYPE, 0, 0};
        ASSERT_EQ(host.Ds(group, DAT_CAPABILITY, MSG_GETCURRENT, &get), TWRC_SUCCESS);
        ASSERT_EQ(get.ConType, TWON_ONEVALUE);
        auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(Block(get.hContainer)));
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->Item, TWPT_RGB);
        GlobalUnlock(Block(get.hContainer));
        FreeContainer(get);

        TW_IDENTITY identity{};
        EXPECT_EQ(host.Ds(group, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
        EXPECT_EQ(identity.Id, host.source.Id);
        TW_SETUPMEMXFER setup{};
        EXPECT_EQ(host.Ds(group, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
        EXPECT_EQ(setup.Preferred, 65536u);
    }
}

TEST_F(StateTest, NullRecordIsBadValueAndChangesNothing) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    TW_IMAGELAYOUT layout{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
    DirectSource direct;
    ActAsHost(direct, host);
    const Row needRecords[] = {
        {"IDENTITY GET", DG_CONTROL, DAT_IDENTITY, MSG_GET, 0, 0},
        {"IDENTITY OPENDS", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, 0, 0},
        {"CAPABILITY GET", DG_CONTROL, DAT_CAPABILITY, MSG_GET, 0, 0},
        {"CAPABILITY SET", DG_CONTROL, DAT_CAPABILITY, MSG_SET, 0, 0},
        {"PENDINGXFERS GET", DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, 0, 0},
        {"SETUPMEMXFER GET", DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, 0, 0},
        {"SETUPFILEXFER GET", DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, 0, 0},
        {"SETUPFILEXFER SET", DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, 0, 0},
        {"SETUPFILEXFER RESET", DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET, 0, 0},
        {"STATUS GET", DG_CONTROL, DAT_STATUS, MSG_GET, 0, 0},
        {"USERINTERFACE ENABLEDS", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, 0, 0},
        {"XFERGROUP GET", DG_CONTROL, DAT_XFERGROUP, MSG_GET, 0, 0},
        {"IMAGELAYOUT GET", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, 0, 0},
        {"IMAGELAYOUT SET", DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, 0, 0},
        {"IMAGELAYOUT RESET", DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, 0, 0},
        {"IMAGEINFO GET", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, 0, 0},
        {"IMAGEMEMXFER GET", DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, 0, 0},
        {"IMAGENATIVEXFER GET", DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, 0, 0},
    };
    for (const Row& row : needRecords) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(direct.Call(row.dg, row.dat, row.msg, nullptr), TWRC_FAILURE);
        EXPECT_EQ(host.ConditionCode(), TWCC_BADVALUE);
        EXPECT_EQ(FindMainDialog(), nullptr);
        TW_IMAGELAYOUT now{};
        ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &now), TWRC_SUCCESS);
        EXPECT_EQ(std::memcmp(&now, &layout, sizeof now), 0);
        EXPECT_EQ(SourceState(host), 4);
    }

    // A file transfer takes no record: refused here for the state only.
    EXPECT_EQ(direct.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_SEQERROR);

    ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    EXPECT_EQ(direct.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, nullptr), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_BADVALUE);
    EXPECT_NE(FindMainDialog(), nullptr);
    EXPECT_EQ(SourceState(host), 5);
}

TEST_F(StateTest, NullRecordInStateThreeIsRefused) {
    DirectSource direct;
    EXPECT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, nullptr), TWRC_FAILURE);
    EXPECT_EQ(SourceState(direct), 3);
}

TEST_F(StateTest, NullOriginIsRefusedWithoutTouchingTheConnection) {
    DirectSource direct;
    TW_IDENTITY identity{};
    identity.Id = 0xABCD;
    EXPECT_EQ(direct.entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_FAILURE);
    EXPECT_EQ(identity.Id, 0xABCDu);

    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    TW_IMAGELAYOUT layout{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
    TW_IMAGELAYOUT changed = layout;
    changed.DocumentNumber = 7;
    EXPECT_EQ(direct.entry(nullptr, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &changed), TWRC_FAILURE);
    EXPECT_EQ(direct.entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_FAILURE);
    // The connected host's last call is still the one DAT_STATUS reports on.
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout), TWRC_FAILURE);
    EXPECT_EQ(direct.entry(nullptr, DG_CONTROL, DAT_XFERGROUP, MSG_GET, &identity), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_BADPROTOCOL);
    TW_IMAGELAYOUT now{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &now), TWRC_SUCCESS);
    EXPECT_EQ(now.DocumentNumber, layout.DocumentNumber);
    EXPECT_EQ(SourceState(host), 4);
}

TEST_F(StateTest, EventsBeforeTheDialogAreNotTheSources) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    TW_IMAGELAYOUT layout{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout), TWRC_FAILURE);

    MSG message{host.parent, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    const MSG original = message;
    TW_EVENT event{TwainRef(&message), 0x1234};
    const TW_EVENT sent = event;
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(std::memcmp(&event, &sent, sizeof event), 0);
    EXPECT_EQ(std::memcmp(&message, &original, sizeof message), 0);
    // MSG_PROCESSEVENT ends the failure's condition, as any handled call does.
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);

    // Any DAT with MSG_PROCESSEVENT is an event, never a capability call.
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_CAPABILITY, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(std::memcmp(&event, &sent, sizeof event), 0);
    EXPECT_EQ(SourceState(host), 4);
}

TEST_F(StateTest, StatusReportsThePrecedingFailureOnce) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    TW_IMAGEINFO info{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
    TW_STATUS status{0xFFFF, 0xFFFF};
    ASSERT_EQ(host.Ds(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR);
    EXPECT_EQ(status.Reserved, 0);
    status = TW_STATUS{0xFFFF, 0xFFFF};
    ASSERT_EQ(host.Ds(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SUCCESS);

    // A call that succeeds ends the condition of the failure before it.
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
    TW_UINT32 group = 0;
    ASSERT_EQ(host.Ds(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group), TWRC_SUCCESS);
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);
}

TEST_F(StateTest, SecondApplicationGetsThePreviousReturnCodeAndChangesNothing) {
    HostSession host;
    ASSERT_EQ(Open(host), TWRC_SUCCESS);
    DirectSource other;  // origin Id 77, not the connected host
    TW_IMAGELAYOUT layout{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);

    // After a failure of the host, every call of the other one "fails".
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout), TWRC_FAILURE);
    TW_IMAGELAYOUT changed = layout;
    changed.DocumentNumber = 7;
    EXPECT_EQ(other.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &changed), TWRC_FAILURE);
    TW_IDENTITY identity{};
    identity.Id = 0xABCD;
    EXPECT_EQ(other.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_FAILURE);
    EXPECT_EQ(identity.Id, 0xABCDu);
    EXPECT_EQ(other.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_FAILURE);
    TW_STATUS status{0xFFFF, 0xFFFF};
    EXPECT_EQ(other.Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_FAILURE);
    EXPECT_EQ(status.ConditionCode, 0xFFFF);
    EXPECT_EQ(host.ConditionCode(), TWCC_BADPROTOCOL);

    // After a success of the host (that DAT_STATUS), every call of the other
    // one "succeeds".
    TW_USERINTERFACE ui{1, 0, 0};
    EXPECT_EQ(other.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(ui.ModalUI, 0);
    EXPECT_EQ(FindMainDialog(), nullptr);
    EXPECT_EQ(other.Call(DG_CONTROL, kNoSuchDat, MSG_GET, &identity), TWRC_SUCCESS);
    // Its open alone never looks like a success.
    EXPECT_EQ(other.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
    EXPECT_EQ(identity.Id, 0xABCDu);
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);

    TW_IMAGELAYOUT now{};
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &now), TWRC_SUCCESS);
    EXPECT_EQ(now.DocumentNumber, layout.DocumentNumber);
    EXPECT_EQ(SourceState(host), 4);
}

TEST_F(StateTest, SecondHostThroughTheManagerCannotTakeTheSource) {
    HostSession first;
    ASSERT_EQ(Open(first, "first"), TWRC_SUCCESS);
    ASSERT_EQ(first.Enable(true), TWRC_SUCCESS);
    TW_IMAGELAYOUT layout{};
    ASSERT_EQ(first.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_FAILURE);  // state 5

    {
        HostSession second;
        // Its MSG_OPENDS reaches the source and gets the first host's failure.
        EXPECT_EQ(Open(second, "second"), TWRC_FAILURE);
        EXPECT_EQ(first.ConditionCode(), TWCC_SEQERROR);
        EXPECT_EQ(SourceState(first), 5);

        // Also after a success of the first host the open fails.
        TW_UINT32 group = 0;
        ASSERT_EQ(first.Ds(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group), TWRC_SUCCESS);
        EXPECT_EQ(second.OpenSource(""), TWRC_FAILURE);
    }
    EXPECT_NE(FindMainDialog(), nullptr);
    EXPECT_EQ(SourceState(first), 5);
}

}  // namespace

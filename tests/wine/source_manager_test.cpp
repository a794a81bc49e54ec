// The source manager (TWAIN_32.DLL, TWAINDSM.DLL in the 64-bit build), driven
// through HostSession with copies of test_source.ds installed under the
// sources folder's TESTSRC.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "hostkit/host_session.h"
#include "hostkit/source_install.h"
#include "hostkit/test_source.h"
#include "hostkit/twain_names.h"
#include "twain/platform.h"

namespace {

constexpr DWORD kWait = 10000;       // generous: only reached when something is broken
constexpr DWORD kQuietPump = 300;    // for "nothing more arrives"

using DsmEntryProc = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, void*);

class SourceManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // "first" sorts before every other directory, so it is the default source.
        ASSERT_TRUE(InstallTestSource("ATEST\\first.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\alpha.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\deep\\nested\\beta.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\failopen.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\noidentity.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\notasource.dll"));
        ASSERT_TRUE(InstallSourceFile(ProgramDirectory() + "\\" + kManagerLibrary, "TESTSRC\\noentry.ds"));
        std::string broken = ProgramDirectory() + "\\broken.ds";
        HANDLE file = CreateFileA(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "not a library", 13, &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(InstallSourceFile(broken, "TESTSRC\\broken.ds"));
    }

    void SetUp() override { ASSERT_TRUE(host.OpenDsm()); }

    HostSession host;
};

std::vector<TW_IDENTITY> Enumerate(HostSession& host) {
    std::vector<TW_IDENTITY> found;
    TW_IDENTITY identity{};
    TW_UINT16 rc = host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity);
    while (rc == TWRC_SUCCESS) {
        found.push_back(identity);
        rc = host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &identity);
    }
    EXPECT_EQ(rc, TWRC_ENDOFLIST);
    return found;
}

std::vector<std::string> TestSourceNames(const std::vector<TW_IDENTITY>& identities) {
    std::vector<std::string> names;
    for (const TW_IDENTITY& identity : identities) {
        if (FieldText(identity.Manufacturer) == "hostkit") names.push_back(FieldText(identity.ProductName));
    }
    return names;
}

TestCall LastCall(HostSession& host) {
    TestCall call{};
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_TESTLASTCALL, MSG_GET, &call), TWRC_SUCCESS);
    return call;
}

TestPostRequest PostFromSource(HostSession& host, std::vector<TW_UINT16> messages, TW_UINT16 dat = DAT_TESTPOST) {
    TestPostRequest request{};
    request.count = static_cast<TW_UINT16>(messages.size());
    for (size_t i = 0; i < messages.size(); ++i) request.messages[i] = messages[i];
    EXPECT_EQ(host.Ds(DG_CONTROL, dat, MSG_SET, &request), TWRC_SUCCESS);
    return request;
}

DsmEntryProc ManagerEntry() {
    return reinterpret_cast<DsmEntryProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(kManagerLibrary), "DSM_Entry")));
}

TEST_F(SourceManagerTest, ExportsItsEntryByNameAndAsOrdinalOne) {
    HMODULE manager = GetModuleHandleA(kManagerLibrary);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(manager, MAKEINTRESOURCEA(1))),
              reinterpret_cast<void*>(GetProcAddress(manager, "DSM_Entry")));
    // Our own manager, not Wine's built-in one.
    char path[MAX_PATH];
    GetModuleFileNameA(manager, path, sizeof path);
    EXPECT_EQ(_stricmp(path, (ProgramDirectory() + "\\" + kManagerLibrary).c_str()), 0) << path;
}

TEST_F(SourceManagerTest, EnumeratesSourcesAtAnyDepthAndSkipsThoseThatDoNotAnswer) {
    EXPECT_NE(host.app.Id, 0u);
    std::vector<TW_IDENTITY> sources = Enumerate(host);
    // broken.ds, noentry.ds, noidentity.ds and the .dll are not sources.
    EXPECT_EQ(TestSourceNames(sources), (std::vector<std::string>{"first", "alpha", "beta", "failopen"}));
    for (size_t i = 0; i < sources.size(); ++i) {
        EXPECT_NE(sources[i].Id, 0u);
        EXPECT_NE(sources[i].Id, host.app.Id);
        for (size_t j = 0; j < i; ++j) EXPECT_NE(sources[i].Id, sources[j].Id);
    }

    TW_IDENTITY identity{};
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &identity), TWRC_ENDOFLIST);

    // A second walk gives the same sources with the same Ids; the default is the first.
    std::vector<TW_IDENTITY> again = Enumerate(host);
    ASSERT_EQ(again.size(), sources.size());
    for (size_t i = 0; i < sources.size(); ++i) EXPECT_EQ(again[i].Id, sources[i].Id);
    TW_IDENTITY defaultSource{};
    ASSERT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &defaultSource), TWRC_SUCCESS);
    EXPECT_EQ(defaultSource.Id, sources.front().Id);
    EXPECT_EQ(FieldText(defaultSource.ProductName), FieldText(sources.front().ProductName));
}

TEST_F(SourceManagerTest, SeesSourcesInstalledAfterAnEarlierWalk) {
    Enumerate(host);
    ASSERT_TRUE(InstallTestSource("TESTSRC\\later\\gamma.ds"));
    EXPECT_EQ(TestSourceNames(Enumerate(host)),
              (std::vector<std::string>{"first", "alpha", "beta", "failopen", "gamma"}));
    ASSERT_EQ(host.OpenSource("gamma"), TWRC_SUCCESS);
    EXPECT_EQ(host.CloseSource(), TWRC_SUCCESS);
    ASSERT_TRUE(RemoveSourceFile("TESTSRC\\later\\gamma.ds"));
    EXPECT_EQ(TestSourceNames(Enumerate(host)), (std::vector<std::string>{"first", "alpha", "beta", "failopen"}));
}

TEST_F(SourceManagerTest, OpensByProductNameAndHandsTheSourceItsId) {
    TW_UINT32 betaId = 0;
    for (const TW_IDENTITY& identity : Enumerate(host)) {
        if (FieldText(identity.ProductName) == "beta") betaId = identity.Id;
    }
    ASSERT_EQ(host.OpenSource("beta"), TWRC_SUCCESS);
    EXPECT_EQ(host.source.Id, betaId);
    EXPECT_EQ(FieldText(host.source.ProductName), "beta");
    EXPECT_EQ(FieldText(host.source.Manufacturer), "hostkit");
    EXPECT_EQ(host.source.Version.MajorNum, 2);

    // The source took its identity, Id included, from MSG_OPENDS.
    TW_IDENTITY reported{};
    ASSERT_EQ(host.Ds(DG_CONTROL, DAT_IDENTITY, MSG_GET, &reported), TWRC_SUCCESS);
    EXPECT_EQ(reported.Id, betaId);
    EXPECT_EQ(host.CloseSource(), TWRC_SUCCESS);
}

TEST_F(SourceManagerTest, OpensTheDefaultSourceForAnEmptyName) {
    TW_IDENTITY defaultSource{};
    ASSERT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &defaultSource), TWRC_SUCCESS);
    EXPECT_EQ(FieldText(defaultSource.ProductName), "first");
    ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    EXPECT_EQ(host.source.Id, defaultSource.Id);
    EXPECT_EQ(FieldText(host.source.ProductName), "first");
}

TEST_F(SourceManagerTest, FailedOpensReportTheirConditionCode) {
    EXPECT_EQ(host.OpenSource("nosuch"), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_NODS);

    // The source's own code survives the unloading of its library, once.
    EXPECT_EQ(host.OpenSource("failopen"), TWRC_FAILURE);
    EXPECT_FALSE(host.sourceOpen);
    EXPECT_EQ(host.ConditionCode(), kTestOpenFailure);
    EXPECT_EQ(host.ConditionCode(), TWCC_SUCCESS);

    EXPECT_EQ(host.OpenSource("failopen"), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), kTestOpenFailure);
}

TEST_F(SourceManagerTest, CloseUnloadsTheSourceSoTheNextOpenStartsItAfresh) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    PostMessageA(host.parent, WM_USER, 0, 0);
    host.Pump(50);
    ASSERT_GT(LastCall(host).processEvents, 0u);
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);

    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    EXPECT_EQ(LastCall(host).processEvents, 0u);
    EXPECT_EQ(host.CloseSource(), TWRC_SUCCESS);
    EXPECT_EQ(host.CloseSource(), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_NODS);
}

TEST_F(SourceManagerTest, ASecondOpenOfTheSameSourceIsAnsweredByTheSource) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    TW_IDENTITY again{};
    std::strcpy(again.ProductName, "alpha");
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &again), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_MAXCONNECTIONS);
    // The first connection is untouched.
    EXPECT_EQ(LastCall(host).dat, DAT_STATUS);
}

TEST_F(SourceManagerTest, PassesOtherCallsThroughWithTheApplicationAsOrigin) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    TW_IMAGELAYOUT layout{};
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &layout), TWRC_FAILURE);
    TestCall call = LastCall(host);
    EXPECT_EQ(call.originId, host.app.Id);
    EXPECT_EQ(call.dg, DG_IMAGE);
    EXPECT_EQ(call.dat, DAT_IMAGELAYOUT);
    EXPECT_EQ(call.msg, MSG_RESET);
    EXPECT_EQ(call.data, TwainRef(&layout));
    // The condition code is the source's, read through the manager.
    EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &layout), TWRC_FAILURE);
    EXPECT_EQ(host.ConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_SUCCESS);
}

TEST_F(SourceManagerTest, NotificationsPostedInsideACallArriveOnceAndInOrder) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    TestPostRequest posted = PostFromSource(host, {MSG_XFERREADY, MSG_CLOSEDSREQ});
    EXPECT_EQ(posted.results[0], TWRC_SUCCESS);
    EXPECT_EQ(posted.results[1], TWRC_SUCCESS);
    EXPECT_EQ(host.WaitForNotification(kWait), MSG_XFERREADY);
    EXPECT_EQ(host.WaitForNotification(kWait), MSG_CLOSEDSREQ);
    EXPECT_EQ(host.WaitForNotification(kQuietPump), MSG_NULL);
    EXPECT_EQ(host.notifications, (std::vector<TW_UINT16>{MSG_XFERREADY, MSG_CLOSEDSREQ}));
}

TEST_F(SourceManagerTest, NotificationsPostedOutsideACallWakeTheLoop) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    PostFromSource(host, {MSG_XFERREADY}, DAT_TESTPOSTLATER);
    EXPECT_EQ(host.WaitForNotification(kWait), MSG_XFERREADY);
    EXPECT_EQ(host.WaitForNotification(kQuietPump), MSG_NULL);
}

TEST_F(SourceManagerTest, WakesAnApplicationWithoutAParentWindowThroughItsThread) {
    HostSession windowless;
    windowless.passParentWindow = false;
    ASSERT_TRUE(windowless.OpenDsm("windowless"));
    ASSERT_EQ(windowless.OpenSource("beta"), TWRC_SUCCESS);
    PostFromSource(windowless, {MSG_CLOSEDSREQ}, DAT_TESTPOSTLATER);
    EXPECT_EQ(windowless.WaitForNotification(kWait), MSG_CLOSEDSREQ);
}

TEST_F(SourceManagerTest, ANotificationPostedWhileTheSourceHandlesAnEventComesWithThatEvent) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    // The source claims this message and posts from inside MSG_PROCESSEVENT,
    // as it does when its dialog's "Scan" button is pressed.
    MSG message{host.parent, kTestClaimedMessage, MSG_XFERREADY, 0, 0, {0, 0}};
    TW_EVENT event{TwainRef(&message), MSG_NULL};
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_XFERREADY);
    // Handed over once: the wake-up left in the queue brings nothing more.
    EXPECT_EQ(host.WaitForNotification(kQuietPump), MSG_NULL);

    PostMessageA(host.parent, kTestClaimedMessage, MSG_CLOSEDSREQ, 0);
    EXPECT_EQ(host.WaitForNotification(kWait), MSG_CLOSEDSREQ);
}

TEST_F(SourceManagerTest, AQueuedNotificationNeverSwallowsTheApplicationsOwnMessages) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    bool ran = false;
    host.Defer([&] { ran = true; });  // queued before the wake-up
    PostFromSource(host, {MSG_XFERREADY});

    MSG message{host.parent, WM_USER, 0, 0, 0, {0, 0}};
    TW_EVENT event{TwainRef(&message), MSG_NULL};
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_NULL);

    EXPECT_EQ(host.WaitForNotification(kWait), MSG_XFERREADY);
    EXPECT_EQ(host.WaitForNotification(kQuietPump), MSG_NULL);
    EXPECT_TRUE(ran);
}

TEST_F(SourceManagerTest, NotificationsOfAClosedSourceAreDropped) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    PostFromSource(host, {MSG_XFERREADY});
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    EXPECT_EQ(host.WaitForNotification(kQuietPump), MSG_NULL);
}

TEST_F(SourceManagerTest, RefusesNotificationsItCannotRoute) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    DsmEntryProc entry = ManagerEntry();
    ASSERT_NE(entry, nullptr);
    TW_IDENTITY stranger = host.source;
    stranger.Id = 9999;
    EXPECT_EQ(entry(&stranger, &host.app, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADDEST);
    EXPECT_EQ(entry(&host.source, nullptr, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr), TWRC_FAILURE);
    EXPECT_EQ(entry(&host.source, &host.app, DG_CONTROL, DAT_NULL, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(host.WaitForNotification(kQuietPump), MSG_NULL);

    // The source's own identity and its application: accepted.
    EXPECT_EQ(entry(&host.source, &host.app, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr), TWRC_SUCCESS);
    EXPECT_EQ(host.WaitForNotification(kWait), MSG_XFERREADY);
}

TEST_F(SourceManagerTest, KeepsTwoApplicationsApart) {
    HostSession second;
    ASSERT_TRUE(second.OpenDsm("second"));
    EXPECT_NE(second.app.Id, 0u);
    EXPECT_NE(second.app.Id, host.app.Id);

    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    ASSERT_EQ(second.OpenSource("beta"), TWRC_SUCCESS);
    EXPECT_EQ(LastCall(second).originId, second.app.Id);

    PostFromSource(second, {MSG_XFERREADY});
    EXPECT_EQ(second.WaitForNotification(kWait), MSG_XFERREADY);
    EXPECT_TRUE(host.notifications.empty());
    PostFromSource(host, {MSG_CLOSEDSREQ});
    EXPECT_EQ(host.WaitForNotification(kWait), MSG_CLOSEDSREQ);
    EXPECT_EQ(second.notifications, (std::vector<TW_UINT16>{MSG_XFERREADY}));

    // alpha serves one application; its refusal reaches the second one, and
    // the first keeps its connection (the library stays loaded for it).
    HostSession third;
    ASSERT_TRUE(third.OpenDsm("third"));
    EXPECT_EQ(third.OpenSource("alpha"), TWRC_FAILURE);
    EXPECT_EQ(third.ConditionCode(), TWCC_MAXCONNECTIONS);
    TestCall call = LastCall(host);
    EXPECT_EQ(call.originId, third.app.Id);  // the manager asked alpha for its status
    EXPECT_EQ(call.dat, DAT_STATUS);

    // Closing the manager with a source still open is refused.
    HWND window = second.parent;
    EXPECT_EQ(second.Dsm(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window), TWRC_FAILURE);
    EXPECT_EQ(second.DsmConditionCode(), TWCC_SEQERROR);
}

TEST_F(SourceManagerTest, ASourceClosedWhileItPumpsMessagesIsUnloadedOnlyAfterItReturns) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    TW_UINT16 closeResult = TWRC_FAILURE;
    host.Defer([&] { closeResult = host.CloseSource(); });
    TW_UINT32 unused = 0;
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_TESTPUMP, MSG_SET, &unused), TWRC_SUCCESS);
    EXPECT_EQ(closeResult, TWRC_SUCCESS);
    EXPECT_FALSE(host.sourceOpen);
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    EXPECT_EQ(LastCall(host).processEvents, 0u);  // a fresh load after all
}

TEST_F(SourceManagerTest, ListingDoesNotCallASourceThatIsOpen) {
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    TW_UINT32 before = LastCall(host).processEvents;
    TW_IMAGELAYOUT layout{};
    host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout);

    // A connected source is not to be reached from outside its connection:
    // the listing reuses the identity alpha reported before.
    HostSession other;
    ASSERT_TRUE(other.OpenDsm("other"));
    std::vector<std::string> names = TestSourceNames(Enumerate(other));
    EXPECT_EQ(names, (std::vector<std::string>{"first", "alpha", "beta", "failopen"}));
    TestCall call = LastCall(host);
    EXPECT_EQ(call.dat, DAT_IMAGELAYOUT);
    EXPECT_EQ(call.processEvents, before);
}

TEST_F(SourceManagerTest, RefusesBadCallsWithoutCrashing) {
    DsmEntryProc entry = ManagerEntry();
    ASSERT_NE(entry, nullptr);
    TW_IDENTITY identity{};
    EXPECT_EQ(entry(nullptr, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity), TWRC_FAILURE);

    // Null data.
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, nullptr), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADVALUE);
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_STATUS, MSG_GET, nullptr), TWRC_FAILURE);

    // Unknown triplets without a destination.
    TW_UINT32 anything = 0;
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &anything), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &identity), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADPROTOCOL);
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_PARENT, MSG_GET, &anything), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADPROTOCOL);

    // A destination that is not open.
    TW_IDENTITY nowhere{};
    nowhere.Id = 4242;
    EXPECT_EQ(entry(&host.app, &nowhere, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &anything), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADDEST);
    ASSERT_EQ(host.OpenSource("alpha"), TWRC_SUCCESS);
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, nullptr), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADVALUE);

    // An application that has not opened the manager, or opens it twice.
    TW_IDENTITY outsider = host.app;
    outsider.Id = 0;
    EXPECT_EQ(entry(&outsider, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_SEQERROR);
    HWND window = host.parent;
    EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &window), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(entry(&outsider, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr), TWRC_FAILURE);
    HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ffe));
    EXPECT_EQ(entry(&outsider, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &bogus), TWRC_FAILURE);
    EXPECT_EQ(host.DsmConditionCode(), TWCC_BADVALUE);
    EXPECT_EQ(outsider.Id, 0u);
}

}  // namespace

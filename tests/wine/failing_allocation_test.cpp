// Every buffer the data source allocates for a scan, made to fail one at a
// time: a colour memory transfer through the dialog with a filter and output
// matching. Each run either does without the memory (the image is whole) or
// ends in " Insufficient Memory." once and TWCC_LOWMEMORY, in state 5 or,
// after a failed transfer, in state 7 with the request to close; nothing
// the failed run allocated is left behind after the next scan, and the next scan is whole.
#include <string>
#include <vector>

#include "tests/wine/allocation_faults.h"
#include "tests/wine/colour_profile_file.h"
#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;

class FailingAllocationTest : public SettingsScanTest {
protected:
    void TearDown() override {
        DeleteFileA(ProfilePath().c_str());
        SettingsScanTest::TearDown();
    }

    // Presses Scan in the open dialog; true when an image is ready.
    bool PressScan() {
        SendMessageW(FindMainDialog(), WM_COMMAND, IDC_SCAN, 0);
        return host.WaitForNotification(1000) == MSG_XFERREADY;
    }

    // A scan with an allocation refused: true when the image came whole
    // all the same, else the failure was clean.
    bool FailingScan(const std::vector<uint8_t>& reference) {
        if (!PressScan()) {
            ExpectCleanFailure(false);
            return false;
        }
        const MemoryBlocks taken = TakeMemoryBlocks();
        if (taken.codes.back() != TWRC_XFERDONE) {
            EXPECT_EQ(taken.codes.back(), TWRC_FAILURE);
            ExpectCleanFailure(true);
            return false;
        }
        EXPECT_TRUE(taken.rows == reference);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        EXPECT_TRUE(TakeMessages().empty());
        return true;
    }

    // After a failed run: a failed transfer says TWCC_LOWMEMORY, leaves
    // state 7 and asks to be closed, which this host answers by ending the
    // transfer and showing the dialog afresh; a scan that failed to start
    // (no triplet failed) stays in state 5.
    void ExpectCleanFailure(bool transferFailed) {
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{" Insufficient Memory."});
        if (!transferFailed) {
            EXPECT_EQ(SourceState(host), 5);
            return;
        }
        EXPECT_EQ(host.ConditionCode(), TWCC_LOWMEMORY);
        EXPECT_EQ(host.WaitForNotification(1000), MSG_CLOSEDSREQ);
        EXPECT_EQ(SourceState(host), 7);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        host.Disable();
        ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
    }
};

TEST_F(FailingAllocationTest, EachBufferOfAFilteredMatchedColourScanFailsCleanly) {
    WriteProfile(MatrixProfile());
    const DialogSettings settings{{"ScanMode", "1014"}, {"ScanRes", "100"}, {"Frame", kSmallFrame},
                                  {"FilterMode", "5"},  {"OutputMatch", "1"}};
    ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
    const std::vector<uint8_t> reference = MemoryImage().rows;
    ASSERT_FALSE(reference.empty());
    ASSERT_TRUE(TakeMessages().empty());

    AllocationFaults faults("kvsc_a3.ds");
    ASSERT_TRUE(faults.Patched());
    faults.Restart(0);
    ASSERT_TRUE(PressScan());
    EXPECT_TRUE(MemoryImage().rows == reference);
    const long allocations = faults.allocations;
    ASSERT_GE(allocations, 2);  // the scan buffer and the line buffer at least

    // Each failure twice: the first may make what the source keeps for good
    // (the texts of its message, say); what the second leaves is lost.
    int failures = 0;
    for (long n = 1; n <= allocations; ++n) {
        for (int round = 1; round <= 2; ++round) {
            SCOPED_TRACE("buffer " + std::to_string(n) + " of " + std::to_string(allocations) + ", round " +
                         std::to_string(round));
            const int failedRun = faults.Restart(n);
            const bool whole = FailingScan(reference);
            failures += !whole;

            faults.Restart(0);
            ASSERT_TRUE(PressScan());
            EXPECT_TRUE(MemoryImage().rows == reference);
            EXPECT_TRUE(TakeMessages().empty());
            if (round == 2) {
                EXPECT_EQ(faults.HeldFrom(failedRun), 0u) << "buffers left behind";
            }
        }
    }
    EXPECT_GT(failures, 0);
}

}  // namespace

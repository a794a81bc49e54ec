#include "engine/batch_jobs.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/batch_file_keys.h"
#include "tests/unit/key_map.h"

namespace {

// A list of `count` jobs told apart by their resolution 100, 200, ...
BatchList ListOf(int count) {
    BatchList list;
    for (int i = 0; i < count; ++i) {
        BatchJob job{};
        job.resolution = static_cast<uint16_t>(100 * (i + 1));
        list.jobs.push_back(job);
    }
    return list;
}

std::vector<int> Resolutions(const BatchList& list) {
    std::vector<int> resolutions;
    for (const BatchJob& job : list.jobs) resolutions.push_back(job.resolution);
    return resolutions;
}

BatchJob JobAt(uint16_t resolution) {
    BatchJob job{};
    job.resolution = resolution;
    return job;
}

TEST(BatchList, InsertsAfterTheSelectedJobAndStopsAtTwentyNine) {
    BatchList list = ListOf(4);
    list.current = 1;  // job 2 of 4
    ASSERT_TRUE(InsertJob(list, JobAt(999)));
    EXPECT_EQ(Resolutions(list), (std::vector<int>{100, 200, 999, 300, 400}));
    EXPECT_EQ(list.current, 2u);
    list.current = 4;  // the last: appended
    ASSERT_TRUE(InsertJob(list, JobAt(7)));
    EXPECT_EQ(list.jobs.back().resolution, 7);
    EXPECT_EQ(list.current, 5u);

    BatchList full = ListOf(28);
    EXPECT_TRUE(InsertJob(full, JobAt(1)));
    EXPECT_FALSE(InsertJob(full, JobAt(2)));  // the 30th
    EXPECT_EQ(full.jobs.size(), 29u);
}

TEST(BatchList, DeleteKeepsOneJobAndSwitchStopsAtTheLast) {
    BatchList single = ListOf(1);
    EXPECT_FALSE(DeleteSelectedJob(single));
    EXPECT_EQ(single.jobs.size(), 1u);

    BatchList list = ListOf(3);
    list.current = 2;
    ASSERT_TRUE(DeleteSelectedJob(list));
    EXPECT_EQ(Resolutions(list), (std::vector<int>{100, 200}));
    EXPECT_EQ(list.current, 1u);

    EXPECT_FALSE(SwapSelectedWithNext(list));  // on the last job
    list.current = 0;
    ASSERT_TRUE(SwapSelectedWithNext(list));
    EXPECT_EQ(Resolutions(list), (std::vector<int>{200, 100}));
    EXPECT_EQ(list.current, 0u);
}

TEST(BatchRun, AFailedJobIsCancelledAndTheNextOneRuns) {
    BatchList list = ListOf(3);
    ASSERT_TRUE(AdvanceBatch(list, false));
    EXPECT_EQ(list.current, 0u);
    EXPECT_EQ(list.jobs[0].status, JobStatus::Scanning);
    ASSERT_TRUE(AdvanceBatch(list, true));  // the first scan failed
    EXPECT_EQ(list.jobs[0].status, JobStatus::Cancelled);
    EXPECT_EQ(list.jobs[1].status, JobStatus::Scanning);
    ASSERT_TRUE(AdvanceBatch(list, false));
    EXPECT_FALSE(AdvanceBatch(list, false));
    EXPECT_EQ(list.jobs[1].status, JobStatus::Done);
    EXPECT_EQ(list.jobs[2].status, JobStatus::Done);
    EXPECT_FALSE(list.running);
    EXPECT_EQ(list.current, 2u);

    // Scanned again: from the first job, every status waiting again.
    ASSERT_TRUE(AdvanceBatch(list, false));
    EXPECT_EQ(list.current, 0u);
    EXPECT_EQ(list.jobs[0].status, JobStatus::Scanning);
    EXPECT_EQ(list.jobs[2].status, JobStatus::Waiting);
}

TEST(BatchRun, AbortCancelsWhatIsLeft) {
    BatchList list = ListOf(3);
    AdvanceBatch(list, false);
    AdvanceBatch(list, false);  // the second scanning
    AbortBatchRun(list);
    EXPECT_EQ(list.jobs[0].status, JobStatus::Done);
    EXPECT_EQ(list.jobs[1].status, JobStatus::Cancelled);
    EXPECT_EQ(list.jobs[2].status, JobStatus::Cancelled);
    EXPECT_EQ(list.current, 2u);
    EXPECT_FALSE(list.running);

    BatchList empty;
    EXPECT_FALSE(AdvanceBatch(empty, false));
}

TEST(BatchJobFile, NamesCountOnPastExistingFilesAndFitTheRecord) {
    BatchList list;
    const std::set<std::string> existing = {"C:\\T\\File1.TIF", "C:\\T\\File2.TIF"};
    auto exists = [&](const std::string& name) { return existing.count(name) != 0; };
    EXPECT_EQ(NextJobFileName(list, "C:\\T\\", ".TIF", exists), "C:\\T\\File3.TIF");
    EXPECT_EQ(NextJobFileName(list, "C:\\T\\", ".TIF", exists), "C:\\T\\File4.TIF");

    // 113 + "File5" + ".TIF" = 122 characters fit; 123 + 9 = 132 do not.
    EXPECT_EQ(NextJobFileName(list, std::string(113, 'd'), ".TIF", exists).size(), 122u);
    EXPECT_EQ(NextJobFileName(list, std::string(118, 'd'), ".TIF", exists).size(), 127u);
    EXPECT_EQ(NextJobFileName(list, std::string(119, 'd'), ".TIF", exists), "");
}

TEST(BatchJobRecord, SettingsGoInAndComeBackOut) {
    ScanSettings s;
    s.scanMode = kModeGray;
    s.isColour = false;
    s.resolution = 450;
    s.destination = kDestContTonePrinter;  // 1023
    s.qualityFactor = 25;
    s.descreen = kDescreenMagazine;
    s.descreenActive = true;
    s.scaling = 150;
    s.filterMode = 3;
    s.unit = 2;
    ToneSettings tone;
    tone.hue = -30;
    const int32_t frame[4] = {10, 20, 110, 220};
    const BatchJob job = JobFromSettings(s, tone, frame);
    EXPECT_EQ(job.destinationIndex, 2);
    EXPECT_EQ(job.qualityIndex, 3);  // 25 / 5 - 2
    EXPECT_EQ(job.descreenIndex, kDescreenMagazine - 1017);
    EXPECT_STREQ(job.dpiText, "450\t ");
    EXPECT_EQ(job.status, JobStatus::Waiting);

    ScanSettings back;
    ToneSettings backTone;
    ApplyJobToSettings(job, back, backTone);
    EXPECT_EQ(back.scanMode, kModeGray);
    EXPECT_FALSE(back.isColour);
    EXPECT_EQ(back.destination, kDestContTonePrinter);
    EXPECT_EQ(back.qualityFactor, 25);
    EXPECT_EQ(back.descreen, kDescreenMagazine);
    EXPECT_EQ(back.scaling, 150);
    EXPECT_EQ(back.unit, 2u);
    EXPECT_EQ(back.frame[3], 220);
    EXPECT_EQ(backTone.hue, -30);
    EXPECT_EQ(back.tone.hue, -30);
}

TEST(BatchFileKeys, ThreeJobsWriteTotalJobsAndTheirFrames) {
    KeyMap file;
    file.Put(BatchHeaderValues(3));
    for (int i = 0; i < 3; ++i) {
        ScanSettings s;
        s.resolution = static_cast<uint16_t>(100 + i);
        const int32_t frame[4] = {i, 2 * i, 100 + i, 300};
        file.Put(BatchJobValues(JobFromSettings(s, ToneSettings{}, frame), i));
    }
    EXPECT_EQ(file.keys["FileType"], "1    ");
    EXPECT_EQ(file.keys["TotalJobs"], "3");
    EXPECT_EQ(file.keys["SelectRect2"], "2    4    102  300  ");
    EXPECT_EQ(file.keys["Resolution1"], "101  ");
    EXPECT_EQ(file.keys.count("SelectRect3"), 0u);

    ASSERT_EQ(ReadTotalJobs(file.Lookup()), 3u);
    const BatchJob second = ReadBatchJob(file.Lookup(), 1, ScanSettings{}, ToneSettings{});
    EXPECT_EQ(second.resolution, 101);
    EXPECT_EQ(second.frame[0], 1);
    EXPECT_EQ(second.frame[2], 101);
}

TEST(BatchFileKeys, CountsAndFramesAreKeptInBounds) {
    struct Case {
        const char* stored;
        size_t count;
    };
    for (const Case& c : {Case{"40", 28}, Case{"-1", 1}, Case{"0", 1}, Case{"abc", 1}, Case{"28", 28}}) {
        KeyMap file;
        file.keys["TotalJobs"] = c.stored;
        EXPECT_EQ(ReadTotalJobs(file.Lookup()), c.count) << c.stored;
    }
    KeyMap missing;
    EXPECT_EQ(ReadTotalJobs(missing.Lookup()), 1u);

    // Reversed edges are put in order, edges beyond the bed cut to it.
    KeyMap file;
    file.keys["SelectRect0"] = "300  600  -20  40   ";
    const BatchJob job = ReadBatchJob(file.Lookup(), 0, ScanSettings{}, ToneSettings{});
    EXPECT_EQ(job.frame[0], 0);
    EXPECT_EQ(job.frame[1], 40);
    EXPECT_EQ(job.frame[2], 300);
    EXPECT_EQ(job.frame[3], 510);
    // Without the key the frame is empty at the origin.
    const BatchJob none = ReadBatchJob(KeyMap{}.Lookup(), 5, ScanSettings{}, ToneSettings{});
    EXPECT_EQ(none.frame[2], 0);
}

TEST(BatchJobList, ModeTextsByModeAndColourKind) {
    EXPECT_EQ(JobModeTextNumber(kModeLineArt, 0), 153);
    EXPECT_EQ(JobModeTextNumber(kModeFastGray, 0), 152);
    EXPECT_EQ(JobModeTextNumber(kModeGray, 0), 151);
    EXPECT_EQ(JobModeTextNumber(kModeColour, kColour24), 150);
    EXPECT_EQ(JobModeTextNumber(kModeColour, kColourCmyk), 0);
    EXPECT_EQ(JobModeTextNumber(kModeColour, kColour36), 0);
}

}  // namespace

// The batch scan job list operated by its controls: the lines it shows, its
// buttons, and batch files saved and loaded through the file dialogs.
#include <array>
#include <string>
#include <vector>

#include "profile/language.h"
#include "resources/resource_ids.h"
#include "settings/file_dialog.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/settings_fixture.h"
#include "ui/batch_file.h"
#include "ui/batch_window.h"

namespace {

using namespace dstest;

class BatchListTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        g_settingsFileDialog = {};
        DeleteFileA(InFolder("three.SET").c_str());
        DeleteFileA(InFolder("many.SET").c_str());
        OpenBatchWindow(nullptr);
        window = g_batchWindow.window;
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override {
        CloseBatchWindow();
        SettingsTest::TearDown();
    }

    static std::string InFolder(const std::string& name) { return InstallDir() + "\\" + name; }

    void Press(int button) { Notify(window, button, STN_CLICKED); }

    // A job of the current settings at `resolution` with the frame's left edge `left`.
    void Duplicate(uint16_t resolution, uint16_t left = 10) {
        g_scanSettings.resolution = resolution;
        g_scanSettings.frame[0] = left;
        Press(IDC_BATCH_DUPLICATE);
    }

    std::vector<std::string> Lines() { return ListLines(window, IDC_BATCH_LIST); }

    int Selected() { return static_cast<int>(SendDlgItemMessageW(window, IDC_BATCH_LIST, LB_GETCURSEL, 0, 0)); }

    // Saves or loads `name` through the batch window's file dialog.
    int RunFileDialog(bool saving, const std::string& name) {
        HWND owner = window;
        return DriveDialog(IDC_FILE_FILES, [&](HWND dialog) {
            Type(dialog, IDC_FILE_NAME, name);
            Click(dialog, saving ? IDC_FILE_SAVE : IDC_FILE_LOAD);
            if (StillOpen(dialog)) Click(dialog, IDC_FILE_CANCEL);
        }, [&] { return saving ? RunSaveBatchDialog(owner) : RunLoadBatchDialog(owner); });
    }

    std::string FileValue(const char* name, const char* key) {
        char value[64] = {};
        GetPrivateProfileStringA(kModelSection, key, "<missing>", value, sizeof value, InFolder(name).c_str());
        return value;
    }

    // The window shown and painted: its messages handled for a moment.
    void Screenshot(const std::string& name) {
        for (int i = 0; i < 30; ++i) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(10);
        }
        SaveScreenshot(window, name);
    }

    HWND window = nullptr;
};

TEST_F(BatchListTest, LinesShowNumberNameModeDpiAndStatus) {
    EXPECT_TRUE(Lines().empty());
    EXPECT_FALSE(Enabled(window, IDC_BATCH_TO_FILE));
    Duplicate(300);
    g_scanSettings.scanMode = kModeGray;
    Duplicate(75);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1\tUntitled\t24-bit Color \t 300\t waiting",
                                                 "2\tUntitled\t256 Gray \t 75\t waiting"}));
    // With Scan To File the generated names show, numbered from 1.
    Click(window, IDC_BATCH_TO_FILE);
    EXPECT_EQ(Lines()[0], "1\tFile1.TIF\t24-bit Color \t 300\t waiting");
    EXPECT_EQ(Lines()[1], "2\tFile2.TIF\t256 Gray \t 75\t waiting");
    Screenshot("batch_list_en");
}

TEST_F(BatchListTest, ADuplicateGoesAfterTheSelectedJob) {
    for (uint16_t resolution : {100, 200, 300, 400}) Duplicate(resolution);
    SelectLine(window, IDC_BATCH_LIST, 1);  // job 2 of 4: its settings become the dialog's
    EXPECT_EQ(g_scanSettings.resolution, 200);
    Duplicate(777);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "3\tUntitled\t24-bit Color \t 777\t waiting");
    EXPECT_EQ(lines[3], "4\tUntitled\t24-bit Color \t 300\t waiting");
    EXPECT_EQ(lines[4], "5\tUntitled\t24-bit Color \t 400\t waiting");
    EXPECT_EQ(Selected(), 2);
}

TEST_F(BatchListTest, DeleteKeepsTheLastJobSwitchStopsAtTheEndAndTwentyNineAtMost) {
    Duplicate(100);
    Press(IDC_BATCH_DELETE);
    EXPECT_EQ(Lines().size(), 1u);

    Duplicate(200);  // selected: the last
    Press(IDC_BATCH_SWITCH);
    EXPECT_EQ(Lines()[1], "2\tUntitled\t24-bit Color \t 200\t waiting");
    SelectLine(window, IDC_BATCH_LIST, 0);
    Press(IDC_BATCH_SWITCH);
    EXPECT_EQ(Lines()[0], "1\tUntitled\t24-bit Color \t 200\t waiting");
    EXPECT_EQ(Selected(), 0);

    for (int i = 0; i < 30; ++i) Duplicate(300);
    EXPECT_EQ(Lines().size(), 29u);
    Press(IDC_BATCH_NEW);
    EXPECT_EQ(Lines().size(), 29u);
}

TEST_F(BatchListTest, ThreeJobsSavedAreLoadedBack) {
    Duplicate(100, 11);
    Duplicate(200, 22);
    Duplicate(300, 33);
    ASSERT_EQ(RunFileDialog(true, "three"), 1);
    EXPECT_EQ(FileValue("three.SET", "TotalJobs"), "3");
    EXPECT_EQ(FileValue("three.SET", "SelectRect0"), "11   81   150  145");
    EXPECT_EQ(FileValue("three.SET", "SelectRect2"), "33   81   150  145");
    EXPECT_EQ(FileValue("three.SET", "Resolution1"), "200");
    EXPECT_EQ(FileValue("three.SET", "SelectRect3"), "<missing>");

    Press(IDC_BATCH_DELETE);
    Press(IDC_BATCH_DELETE);
    g_scanSettings.resolution = 600;
    ASSERT_EQ(RunFileDialog(false, "three"), 1);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "2\tUntitled\t24-bit Color \t 200\t waiting");
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(g_scanSettings.resolution, 100);  // the first job's settings apply
    EXPECT_EQ(g_scanSettings.frame[0], 11);
    ASSERT_EQ(g_batchWindow.list.jobs.size(), 3u);
    EXPECT_EQ(g_batchWindow.list.jobs[2].frame[0], 33);
}

TEST_F(BatchListTest, TotalJobsIsKeptToOneToTwentyEight) {
    for (const char* total : {"40", "-1"}) {
        SCOPED_TRACE(total);
        const std::string file = InFolder("many.SET");
        WritePrivateProfileStringA(kModelSection, "FileType", "1    ", file.c_str());
        WritePrivateProfileStringA(kModelSection, "TotalJobs", total, file.c_str());
        ASSERT_EQ(RunFileDialog(false, "many"), 1);
        EXPECT_EQ(Lines().size(), std::string(total) == "40" ? 28u : 1u);
    }
    EXPECT_TRUE(recorder.boxes.empty());
}

// Frames found on the preview replace the jobs: the first takes the place of
// the one job deleting leaves, a 29th is ignored; frames come in order and
// clipped to the bed.
TEST_F(BatchListTest, FoundFramesReplaceTheJobs) {
    Duplicate(100);
    Duplicate(200);
    Duplicate(300);
    std::vector<std::array<int32_t, 4>> frames;
    for (int32_t i = 0; i < 30; ++i) frames.push_back({i, 0, 100 + i, 50});
    frames[1] = {400, 600, 5, 7};
    ReplaceBatchJobs(frames);
    const std::vector<BatchJob>& jobs = g_batchWindow.list.jobs;
    ASSERT_EQ(jobs.size(), 28u);
    EXPECT_EQ(jobs[0].frame[2], 100);
    EXPECT_EQ(jobs[1].frame[0], 5);
    EXPECT_EQ(jobs[1].frame[1], 7);
    EXPECT_EQ(jobs[1].frame[2], 351);
    EXPECT_EQ(jobs[1].frame[3], 510);
    EXPECT_EQ(jobs[27].frame[0], 27);
    EXPECT_EQ(Lines().size(), 28u);

    AddBatchRegion({1, 2, 3, 4});  // the 29th, after the selected first job
    ASSERT_EQ(jobs.size(), 29u);
    EXPECT_EQ(jobs[1].frame[3], 4);
    EXPECT_EQ(Selected(), 1);
    AddBatchRegion({1, 2, 3, 4});
    EXPECT_EQ(jobs.size(), 29u);
}

TEST_F(BatchListTest, ChineseUsesTheWiderWindow) {
    CloseBatchWindow();
    g_language.index = 6;
    OpenBatchWindow(nullptr);
    window = g_batchWindow.window;
    ASSERT_NE(window, nullptr);
    RECT wide{};
    GetWindowRect(window, &wide);
    Duplicate(300);
    EXPECT_EQ(Lines()[0], "1\t" + SourceText(6000 + TXT_LABEL_UNTITLED) + "\t" + SourceText(6000 + TXT_MODE_24BIT) +
                              " \t 300\t " + SourceText(6000 + TXT_JOB_WAITING));
    EXPECT_EQ(Title(window), SourceText(6000 + TXT_LABEL_BATCH_JOB_LIST));
    Screenshot("batch_list_zh_tw");
    CloseBatchWindow();
    g_language.index = 0;
    OpenBatchWindow(nullptr);
    window = g_batchWindow.window;
    RECT narrow{};
    GetWindowRect(window, &narrow);
    EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
}

}  // namespace

// Settings files through the "LOAD_SET" and "SAVE_SET" dialogs, operated by
// their controls: names, patterns, directories, every refusal with its
// message, and the files as another reader sees them.
#include <cstring>

#include "resources/resource_ids.h"
#include "settings/file_dialog.h"
#include "settings/settings_file.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/settings_fixture.h"

namespace {

using namespace dstest;

class SettingsFileTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        g_settingsFileDialog = {};
        for (const char* name : {"office.PAR", "other.PAR", "jobs.SET", "jobs.PAR", "gamma.PAR", "sub\\inner.PAR"})
            DeleteFileA(InFolder(name).c_str());
        RemoveDirectoryA(InFolder("sub").c_str());
    }

    static std::string InFolder(const std::string& name) { return InstallDir() + "\\" + name; }

    static std::string FileValue(const std::string& name, const char* section, const char* key) {
        char value[256] = {};
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, InFolder(name).c_str());
        return value;
    }

    static void WriteFileValue(const std::string& name, const char* section, const char* key, const char* value) {
        WritePrivateProfileStringA(section, key, value, InFolder(name).c_str());
    }

    // Types `name` and presses Load or Save; a dialog that stays open after
    // that is cancelled. What the dialog returned.
    static int Enter(bool saving, const std::string& name, const std::function<void(HWND)>& before = {},
                     const std::function<void(HWND)>& after = {}) {
        return DriveDialog(
            IDC_FILE_FILES,
            [&](HWND dialog) {
                if (before) before(dialog);
                Type(dialog, IDC_FILE_NAME, name);
                Click(dialog, saving ? IDC_FILE_SAVE : IDC_FILE_LOAD);
                if (!StillOpen(dialog)) return;
                if (after) after(dialog);
                Click(dialog, IDC_FILE_CANCEL);
            },
            [saving] { return saving ? RunSaveSettingsDialog(nullptr) : RunLoadSettingsDialog(nullptr); });
    }

    const RecordedBox& OnlyBox() {
        EXPECT_EQ(recorder.boxes.size(), 1u);
        return recorder.boxes.at(0);
    }
};

TEST_F(SettingsFileTest, ABareNameIsSavedWithItsExtensionAndLoadedAgain) {
    g_scanSettings.scanMode = kModeGray;
    g_scanSettings.isColour = false;
    g_scanSettings.resolution = 150;
    g_scanSettings.scaling = 200;
    g_scanSettings.descreen = kDescreenMagazine;
    g_savedTone.channels[kToneBlue] = {230, 15, 22, 0};
    g_savedTone.colorBalance[1] = -9;
    g_savedTone.hue = 12;
    const ScanSettings saved = g_scanSettings;
    const ToneSettings savedTone = g_savedTone;

    EXPECT_EQ(Enter(true, "office"), 1);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_NE(GetFileAttributesA(InFolder("office.PAR").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((WindowsDir() + "\\office.PAR").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FileValue("office.PAR", kModelSection, "FileType"), "0");  // read back without the padding blanks
    EXPECT_EQ(FileValue("office.PAR", kModelSection, "ScanMode0"), "1013");
    EXPECT_EQ(FileValue("office.PAR", kModelSection, "Highlight0"), "255  255  230  255");

    g_scanSettings = DefaultScanSettings();
    g_savedTone = DefaultToneSettings();
    EXPECT_EQ(Enter(false, "office"), 1);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(g_scanSettings.scanMode, kModeGray);
    EXPECT_EQ(g_scanSettings.resolution, 150);
    EXPECT_EQ(g_scanSettings.scaling, 200);
    EXPECT_EQ(g_scanSettings.descreen, saved.descreen);
    EXPECT_TRUE(g_scanSettings.descreenActive);
    // Gammas of 0 in the file would read as 10; the saved ones come back as they were.
    EXPECT_EQ(std::memcmp(&g_savedTone, &savedTone, sizeof savedTone), 0);
}

TEST_F(SettingsFileTest, APatternListsTheMatchingFilesInsteadOfLoading) {
    WriteFileValue("office.PAR", kModelSection, "FileType", "0    ");
    WriteFileValue("other.PAR", kModelSection, "FileType", "0    ");
    WriteFileValue("jobs.SET", kModelSection, "FileType", "1    ");
    const int result = Enter(
        false, "*.SET",
        [](HWND dialog) {
            EXPECT_EQ(Title(dialog), "Load Setting File");
            EXPECT_EQ(ControlText(dialog, IDC_FILE_PATTERN), "*.PAR");
            EXPECT_EQ(ControlText(dialog, IDC_FILE_NAME), "*.PAR");
            EXPECT_EQ(ControlText(dialog, IDC_FILE_FILES_LABEL), "Files:");
            EXPECT_EQ(ControlText(dialog, IDC_FILE_NAME_LABEL), "File &Name :");
            EXPECT_EQ(ControlText(dialog, IDC_FILE_LOAD), "&Load");
            const std::vector<std::string> files = ListLines(dialog, IDC_FILE_FILES);
            EXPECT_EQ(files, (std::vector<std::string>{"office.PAR", "other.PAR"}));
            const std::string directory = ControlText(dialog, IDC_FILE_DIRECTORY);
            EXPECT_NE(directory.find("kvsc_a3"), std::string::npos) << directory;
        },
        [](HWND dialog) { EXPECT_EQ(ListLines(dialog, IDC_FILE_FILES), std::vector<std::string>{"jobs.SET"}); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(SettingsFileTest, BatchFilesAndOtherModelsAreRefused) {
    WriteFileValue("jobs.PAR", kModelSection, "FileType", "1    ");
    EXPECT_EQ(Enter(false, "jobs.PAR"), 0);
    EXPECT_EQ(OnlyBox().text, " Invalid file name ! ");
    EXPECT_EQ(OnlyBox().caption, "SCANNERA3 Flatbed Scanner");
    EXPECT_EQ(OnlyBox().icon, UINT(MB_ICONSTOP));

    WriteFileValue("jobs.SET", kModelSection, "FileType", "1    ");
    EXPECT_EQ(Enter(false, "jobs.SET"), 0);
    WriteFileValue("other.PAR", "KVS-T80PRO", "FileType", "0    ");
    WriteFileValue("other.PAR", "KVS-T80PRO", "ScanMode0", "1011 ");
    EXPECT_EQ(Enter(false, "other"), 0);
    ASSERT_EQ(recorder.boxes.size(), 3u);
    EXPECT_EQ(recorder.boxes[1].text, " Invalid file name ! ");
    EXPECT_EQ(recorder.boxes[2].text, " Invalid file name ! ");
    EXPECT_EQ(g_scanSettings.scanMode, kModeColour);  // nothing was applied
}

TEST_F(SettingsFileTest, NamesTooLongAndFilesMissingShowTheirMessages) {
    EXPECT_EQ(Enter(false, std::string(80, 'n')), 0);
    EXPECT_EQ(Enter(true, std::string(77, 'n')), 0);  // 81 with ".PAR"
    EXPECT_EQ(Enter(false, "absent"), 0);
    EXPECT_EQ(Enter(true, "nodir\\office"), 0);
    ASSERT_EQ(recorder.boxes.size(), 4u);
    EXPECT_EQ(recorder.boxes[0].text, "Invalidate path.");
    EXPECT_EQ(recorder.boxes[1].text, "Invalidate path.");
    EXPECT_EQ(recorder.boxes[2].text, "Read File Failure.");
    EXPECT_EQ(recorder.boxes[3].text, " Invalid file name ! ");
}

TEST_F(SettingsFileTest, SavingOverAFileReplacesIt) {
    WriteFileValue("office.PAR", kModelSection, "Stale", "1");
    WriteFileValue("office.PAR", "Elsewhere", "Key", "2");
    WriteFileValue("office.PAR", kModelSection, "FileType", "1    ");
    EXPECT_EQ(Enter(true, "office.par"), 1);
    EXPECT_EQ(FileValue("office.PAR", kModelSection, "Stale"), "<missing>");
    EXPECT_EQ(FileValue("office.PAR", "Elsewhere", "Key"), "<missing>");
    EXPECT_EQ(FileValue("office.PAR", kModelSection, "FileType"), "0");
}

TEST_F(SettingsFileTest, AGammaOfZeroLoadsAsTen) {
    WriteFileValue("gamma.PAR", kModelSection, "FileType", "0    ");
    WriteFileValue("gamma.PAR", kModelSection, "Gamma0", "0    0    18   0    ");
    EXPECT_EQ(Enter(false, "gamma"), 1);
    EXPECT_EQ(g_savedTone.channels[kToneRed].gamma, 10);
    EXPECT_EQ(g_savedTone.channels[kToneGreen].gamma, 10);
    EXPECT_EQ(g_savedTone.channels[kToneBlue].gamma, 18);
    EXPECT_EQ(g_savedTone.channels[kToneMaster].gamma, 10);
    EXPECT_EQ(g_scanSettings.destination, kDestMonitor);  // Destination0 missing
}

TEST_F(SettingsFileTest, DirectoriesAreEnteredAndFilesLoadedByDoubleClick) {
    ASSERT_TRUE(CreateDirectoryA(InFolder("sub").c_str(), nullptr));
    WriteFileValue("sub\\inner.PAR", kModelSection, "FileType", "0    ");
    WriteFileValue("sub\\inner.PAR", kModelSection, "Resolution0", "450  ");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string hostDirectory = current;
    const int result = DriveDialog(
        IDC_FILE_FILES,
        [](HWND dialog) {
            ASSERT_TRUE(DoubleClickLine(dialog, IDC_FILE_DIRECTORIES, "[sub]"));
            const std::string directory = ControlText(dialog, IDC_FILE_DIRECTORY);
            EXPECT_NE(directory.find("kvsc_a3\\sub"), std::string::npos) << directory;
            EXPECT_EQ(ListLines(dialog, IDC_FILE_FILES), std::vector<std::string>{"inner.PAR"});
            SelectLine(dialog, IDC_FILE_FILES, 0);
            EXPECT_EQ(ControlText(dialog, IDC_FILE_NAME), "inner.PAR");
            ASSERT_TRUE(DoubleClickLine(dialog, IDC_FILE_FILES, "inner.PAR"));
            if (StillOpen(dialog)) Click(dialog, IDC_FILE_CANCEL);
        },
        [] { return RunLoadSettingsDialog(nullptr); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_scanSettings.resolution, 450);
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    EXPECT_EQ(lstrcmpiA(directory, hostDirectory.c_str()), 0) << "the host's directory is restored";
}

TEST_F(SettingsFileTest, BatchModeSavesSetFiles) {
    g_settingsFileDialog.batchFiles = true;
    const int result = Enter(true, "jobs", [](HWND dialog) {
        EXPECT_EQ(Title(dialog), "Save Setting File");
        EXPECT_EQ(ControlText(dialog, IDC_FILE_PATTERN), "*.SET");
        EXPECT_EQ(ControlText(dialog, IDC_FILE_SAVE), "&Save");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(FileValue("jobs.SET", kModelSection, "FileType"), "1");
    EXPECT_EQ(FileValue("jobs.SET", kModelSection, "ScanMode0"), "1014");
    EXPECT_EQ(Enter(true, "jobs.PAR"), 0);
    EXPECT_EQ(OnlyBox().text, " Invalid file name ! ");
}

TEST_F(SettingsFileTest, BothDialogsShowTheTextsOfEveryLanguage) {
    const char* const tags[] = {"en", "de", "fr", "it", "es", "nl", "zh_tw", "zh_cn"};
    struct Label {
        int control;
        int text;
    };
    const Label labels[] = {{IDC_FILE_FILES_LABEL, TXT_FILES},         {IDC_FILE_EXTENSION_LABEL, TXT_FILE_EXTENSION},
                            {IDC_FILE_NAME_LABEL, TXT_FILE_NAME},      {IDC_FILE_DIRECTORY_LABEL, TXT_DIRECTORY},
                            {IDC_FILE_DIRECTORIES_LABEL, TXT_DIRECTORIES}, {IDC_FILE_CANCEL, TXT_CANCEL}};
    for (int language = 0; language < 8; ++language) {
        g_language.index = language;
        const int base = language * 1000;
        for (bool saving : {false, true}) {
            DriveDialog(
                IDC_FILE_FILES,
                [&](HWND dialog) {
                    EXPECT_EQ(Title(dialog),
                              SourceText(base + (saving ? TXT_SAVE_SETTINGS_TITLE : TXT_LOAD_SETTINGS_TITLE)));
                    for (const Label& label : labels)
                        EXPECT_EQ(ControlText(dialog, label.control), SourceText(base + label.text));
                    EXPECT_EQ(ControlText(dialog, saving ? IDC_FILE_SAVE : IDC_FILE_LOAD),
                              SourceText(base + (saving ? TXT_SAVE : TXT_LOAD)));
                    SaveScreenshot(dialog, std::string(saving ? "settings_save_" : "settings_load_") + tags[language]);
                    Click(dialog, IDC_FILE_CANCEL);
                },
                [saving] { return saving ? RunSaveSettingsDialog(nullptr) : RunLoadSettingsDialog(nullptr); });
        }
    }
}

TEST_F(SettingsFileTest, RecordsAreReadAndWrittenByNumber) {
    const std::string file = InFolder("jobs.SET");
    g_scanSettings.resolution = 75;
    WriteSettingsRecord(kModelSection, file, 3);
    g_scanSettings.resolution = 600;
    WriteSettingsRecord(kModelSection, file, 4);
    EXPECT_EQ(FileValue("jobs.SET", kModelSection, "Resolution3"), "75");
    ReadSettingsRecord(kModelSection, file, 3);
    EXPECT_EQ(g_scanSettings.resolution, 75);
    ReadSettingsRecord(kModelSection, file, 4);
    EXPECT_EQ(g_scanSettings.resolution, 600);
}

}  // namespace

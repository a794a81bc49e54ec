// Rules behind the language, lamp time-out, calibrator and file dialogs.
#include <gtest/gtest.h>

#include <string>

#include "profile/language.h"
#include "settings/calibrator_title.h"
#include "settings/file_name.h"
#include "settings/lamp_timeout.h"

namespace {

TEST(LanguageDialogRules, ListsFollowDsLanguage) {
    const std::vector<LanguageChoice> european = LanguageChoicesFor("None");
    ASSERT_EQ(european.size(), 6u);
    EXPECT_EQ(european[0].textNumber, 165);
    EXPECT_EQ(european[5].textNumber, 170);
    EXPECT_EQ(european[5].languageIndex, 5);

    const std::vector<LanguageChoice> chinese = LanguageChoicesFor("Chinese");
    ASSERT_EQ(chinese.size(), 2u);
    EXPECT_EQ(chinese[1].textNumber, 223);
    EXPECT_EQ(chinese[1].languageIndex, 6);
    EXPECT_EQ(LanguageChoicesFor("Simple")[1].languageIndex, 7);
    EXPECT_TRUE(LanguageChoicesFor("English").empty());
}

TEST(LanguageDialogRules, InitialSelection) {
    EXPECT_EQ(InitialLanguageLine("None", 3), 3);
    EXPECT_EQ(InitialLanguageLine("None", 6), -1);
    EXPECT_EQ(InitialLanguageLine("Chinese", 0), 0);
    EXPECT_EQ(InitialLanguageLine("Chinese", 6), 1);
    EXPECT_EQ(InitialLanguageLine("Chinese", 7), 1);
    EXPECT_EQ(InitialLanguageLine("Simple", 2), -1);
    EXPECT_EQ(InitialLanguageLine("English", 0), -1);
}

TEST(LanguageDialogRules, NamesWrittenForEachLanguage) {
    EXPECT_STREQ(LanguageNameFor(2), "Francais");
    EXPECT_STREQ(LanguageNameFor(7), "Simple");
    EXPECT_STREQ(LanguageNameFor(8), "English");
    EXPECT_STREQ(LanguageNameFor(-1), "English");
    EXPECT_EQ(LanguageIndexFromName(LanguageNameFor(5)), 5);
}

TEST(LanguageDialogRules, SiblingLanguageKeyDependsOnTheModelFamily) {
    struct Case {
        bool letter;
        int index;
        const char* section;
        const char* value;
    };
    const Case cases[] = {
        {false, 1, "KVSINFO_SP", "German"},  {false, 5, "KVSINFO_SP", "Dutch"},
        {false, 6, "KVSINFO_A3", "Chinese"}, {false, 7, "KVSINFO_A3", "Simple"},
        {false, 9, "KVSINFO_SP", "English"}, {true, 1, "KVSINFO_A3", "Deutsch"},
        {true, 4, "KVSINFO_A3", "Espanol"},  {true, 6, "KVSINFO_SP", "Chinese"},
        {true, 7, "KVSINFO_SP", "Simple"},   {true, -2, "KVSINFO_A3", "English"},
    };
    for (const Case& c : cases) {
        LanguageEntry entry = SavedLanguageEntry(c.letter, c.index);
        EXPECT_STREQ(entry.section, c.section) << c.letter << " " << c.index;
        EXPECT_STREQ(entry.value, c.value) << c.letter << " " << c.index;
    }
}

TEST(LampTimeoutRules, ScrollingStepsAndStaysInRange) {
    EXPECT_EQ(ScrolledLampMinutes(20, int(LampScroll::LineMore), 0), 21);
    EXPECT_EQ(ScrolledLampMinutes(20, int(LampScroll::LineLess), 0), 19);
    EXPECT_EQ(ScrolledLampMinutes(20, int(LampScroll::PageMore), 0), 30);
    EXPECT_EQ(ScrolledLampMinutes(12, int(LampScroll::PageLess), 0), 5);
    EXPECT_EQ(ScrolledLampMinutes(115, int(LampScroll::PageMore), 0), 120);
    EXPECT_EQ(ScrolledLampMinutes(20, int(LampScroll::ThumbTrack), 77), 77);
    EXPECT_EQ(ScrolledLampMinutes(20, int(LampScroll::ThumbPosition), 500), 120);
    EXPECT_EQ(ScrolledLampMinutes(20, int(LampScroll::Top), 0), 120);
    EXPECT_EQ(ScrolledLampMinutes(20, int(LampScroll::Bottom), 0), 5);
    EXPECT_EQ(ScrolledLampMinutes(20, 8, 0), 20);  // end of scrolling
}

TEST(LampTimeoutRules, TypedValuesOutsideTheRangeAreRefused) {
    EXPECT_EQ(TypedLampMinutes("30"), 30);
    EXPECT_EQ(TypedLampMinutes("5"), 5);
    EXPECT_EQ(TypedLampMinutes("120"), 120);
    EXPECT_EQ(TypedLampMinutes("4"), -1);
    EXPECT_EQ(TypedLampMinutes("121"), -1);
    EXPECT_EQ(TypedLampMinutes(""), -1);
    EXPECT_EQ(ClampLampMinutes(0), 5);
    EXPECT_EQ(ClampLampMinutes(255), 120);
    EXPECT_EQ(SaverValue(true, 45), 45);
    EXPECT_EQ(SaverValue(false, 45), 255);
}

TEST(CalibratorRules, WindowTitleSkipsEmptyParts) {
    EXPECT_EQ(CalibratorWindowTitle("SCANNER", ""), "SCANNER Calibrator");
    EXPECT_EQ(CalibratorWindowTitle("Tellaris", "Color Pro"), "Tellaris Color Pro Calibrator");
    EXPECT_EQ(CalibratorWindowTitle("", "Pack"), "Pack Calibrator");
    EXPECT_EQ(CalibratorWindowTitle("", ""), "Calibrator");
}

TEST(FileNameRules, BareNamesGetTheExtension) {
    CheckedFileName checked = CheckSettingsFileName("office", "PAR", true);
    EXPECT_EQ(checked.check, FileNameCheck::Accepted);
    EXPECT_EQ(checked.name, "office.PAR");
    checked = CheckSettingsFileName("c:\\scan.d\\office", "SET", false);
    EXPECT_EQ(checked.check, FileNameCheck::Accepted);
    EXPECT_EQ(checked.name, "c:\\scan.d\\office.SET");
    EXPECT_EQ(CheckSettingsFileName("office.par", "PAR", true).check, FileNameCheck::Accepted);
}

TEST(FileNameRules, LengthIsCheckedBeforeAndAfterTheExtension) {
    EXPECT_EQ(CheckSettingsFileName(std::string(80, 'a') + ".PAR", "PAR", true).check, FileNameCheck::TooLong);
    EXPECT_EQ(CheckSettingsFileName(std::string(79, 'a'), "PAR", true).check, FileNameCheck::TooLong);
    EXPECT_EQ(CheckSettingsFileName(std::string(75, 'a'), "PAR", true).check, FileNameCheck::Accepted);
    EXPECT_EQ(CheckSettingsFileName(std::string(76, 'a'), "PAR", true).check, FileNameCheck::TooLong);
}

TEST(FileNameRules, PatternsListOnlyWhenLoading) {
    EXPECT_EQ(CheckSettingsFileName("*.PAR", "PAR", true).check, FileNameCheck::Pattern);
    EXPECT_EQ(CheckSettingsFileName("c:\\set\\*", "PAR", true).name, "c:\\set\\*.PAR");
    EXPECT_EQ(CheckSettingsFileName("*.PAR", "PAR", false).check, FileNameCheck::Accepted);
    EXPECT_EQ(CheckSettingsFileName("*.*", "PAR", true).check, FileNameCheck::Pattern);
    EXPECT_EQ(CheckSettingsFileName("a.P*", "PAR", true).check, FileNameCheck::Pattern);
    EXPECT_EQ(CheckSettingsFileName("*.*", "PAR", false).check, FileNameCheck::WrongExtension);
    EXPECT_EQ(CheckSettingsFileName("jobs.SET", "PAR", true).check, FileNameCheck::WrongExtension);
    EXPECT_EQ(CheckSettingsFileName("jobs.", "PAR", true).check, FileNameCheck::WrongExtension);
}

}  // namespace

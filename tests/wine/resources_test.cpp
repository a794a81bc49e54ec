// Resources of the installed data source, read from the library as a data
// file: every text in all eight language blocks, the texts that are compared
// with host names, and the dialog templates with the controls the code uses.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/ds_fixture.h"

namespace {

constexpr int kLanguageCount = 8;

// Every text number of the data source, present in each language block.
const int kTextNumbers[] = {
    4,   5,   6,   7,   55,  56,  60,  62,  64,  65,  66,  101, 102, 103, 104, 148, 149, 150, 151, 152,
    153, 154, 157, 158, 159, 160, 161, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 173, 174, 175,
    176, 177, 178, 184, 198, 199, 200, 201, 204, 207, 208, 209, 210, 211, 223, 300, 301, 302, 303, 304,
    305, 306, 307, 308, 309, 310, 311, 316, 317, 327, 330, 331, 332, 333, 334, 335, 336, 352, 355, 356,
    357, 358, 359, 365, 370, 371, 372, 373, 374, 375, 376, 377, 378, 379, 380, 381, 382, 383, 384, 385,
    386, 387, 388, 389, 390, 391, 392, 393, 394, 395, 396, 397, 398, 402, 403, 404, 405, 406, 407, 408,
    409, 410, 411, 412, 413, 500, 501, 502, 505, 507, 508, 509, 510, 600, 601, 602, 603, 604, 605, 606,
    607, 608, 609, 610, 611, 612, 613, 616, 617, 618, 619, 620, 621, 622, 623, 624, 625, 626, 627, 628,
    629, 630, 631, 632, 633, 634, 635, 636, 700, 701, 705, 707, 827, 828, 829, 830, 831, 832, 833, 834,
    835, 836, 837, 839, 840, 841, 842, 843, 844, 845, 846};

// Texts compared with host product names or used as names: never translated.
const int kUntranslatedNumbers[] = {
    TXT_WINFAX3, TXT_PHOTOSHOP, TXT_WINFAX4, TXT_MS_PUBLISHER, TXT_ORVANE_DESK, TXT_ADAPTEC_CARD,
    TXT_PICTURE_PUBLISHER, TXT_TIF_EXTENSION, TXT_SCANWARE_CMS, TXT_LANGUAGE_CHINESE,
    165, 166, 167, 168, 169, 170};  // the language names

HMODULE DataSource() {
    static HMODULE module =
        LoadLibraryExA((dstest::InstallDir() + "\\kvsc_a3.ds").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

std::wstring Text(int id) {
    wchar_t buffer[512];
    int length = LoadStringW(DataSource(), static_cast<UINT>(id), buffer, 512);
    return std::wstring(buffer, static_cast<size_t>(length));
}

std::string Utf8(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], length, nullptr, nullptr);
    out.resize(out.empty() ? 0 : out.size() - 1);
    return out;
}

// One control of a dialog template: its id, its class (a name, or the
// predefined ordinal as text, e.g. "#130" for a static) and its text.
struct TemplateItem {
    unsigned id;
    std::wstring windowClass;
    std::wstring text;
};

// Reads the controls of an extended dialog template (DLGTEMPLATEEX, as windres
// writes DIALOGEX). Returns false when the template is missing or malformed.
class TemplateReader {
public:
    TemplateReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Read(std::vector<TemplateItem>& items) {
        uint16_t version = 0, signature = 0, count = 0;
        uint32_t style = 0;
        if (!Word(version) || !Word(signature) || version != 1 || signature != 0xFFFF) return false;
        pos_ += 8;  // help id, extended style
        if (!Dword(style) || !Word(count)) return false;
        pos_ += 8;  // x, y, cx, cy
        std::wstring ignored;
        if (!NameOrOrdinal(ignored) || !NameOrOrdinal(ignored) || !String(ignored)) return false;  // menu, class, title
        if (style & DS_SETFONT) {
            pos_ += 6;  // point size, weight, italic, charset
            if (!String(ignored)) return false;
        }
        for (uint16_t i = 0; i < count; ++i) {
            pos_ = (pos_ + 3) & ~size_t{3};
            TemplateItem item;
            uint32_t id = 0;
            uint16_t extra = 0;
            pos_ += 20;  // help id, extended style, style, x, y, cx, cy
            if (!Dword(id) || !NameOrOrdinal(item.windowClass) || !NameOrOrdinal(item.text) || !Word(extra))
                return false;
            pos_ += extra;
            item.id = id;
            items.push_back(item);
        }
        return pos_ <= size_;
    }

private:
    bool Word(uint16_t& value) {
        if (pos_ + 2 > size_) return false;
        std::memcpy(&value, data_ + pos_, 2);
        pos_ += 2;
        return true;
    }
    bool Dword(uint32_t& value) {
        if (pos_ + 4 > size_) return false;
        std::memcpy(&value, data_ + pos_, 4);
        pos_ += 4;
        return true;
    }
    bool String(std::wstring& text) {
        text.clear();
        for (uint16_t c = 0;;) {
            if (!Word(c)) return false;
            if (c == 0) return true;
            text.push_back(static_cast<wchar_t>(c));
        }
    }
    bool NameOrOrdinal(std::wstring& text) {
        uint16_t first = 0, ordinal = 0;
        if (!Word(first)) return false;
        if (first != 0xFFFF) {
            pos_ -= 2;
            return String(text);
        }
        if (!Word(ordinal)) return false;
        text = L"#" + std::to_wstring(ordinal);
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool ReadTemplate(const wchar_t* name, std::vector<TemplateItem>& items) {
    HRSRC resource = FindResourceW(DataSource(), name, MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!resource) return false;
    HGLOBAL loaded = LoadResource(DataSource(), resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    TemplateReader reader(static_cast<const uint8_t*>(data), SizeofResource(DataSource(), resource));
    return reader.Read(items);
}

const TemplateItem* FindItem(const std::vector<TemplateItem>& items, unsigned id) {
    for (const TemplateItem& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

TEST(ResourceTexts, EveryTextExistsInAllEightLanguages) {
    ASSERT_NE(DataSource(), nullptr) << "kvsc_a3.ds is not installed";
    for (int language = 0; language < kLanguageCount; ++language) {
        for (int number : kTextNumbers) {
            int id = language * 1000 + number;
            std::wstring text = Text(id);
            EXPECT_FALSE(text.empty()) << "text " << id << " is missing";
            EXPECT_LT(text.size(), 255u) << "text " << id << " is longer than a text buffer";
        }
    }
}

TEST(ResourceTexts, EnglishMessagesAreExact) {
    struct Expected {
        int number;
        const char* text;
    };
    const Expected expected[] = {
        {608, "Flatbed Scanner not ready."},
        {609, "Flatbed Scanner not found."},
        {610, " Please make sure :"},
        {611, " 1. The scanner is turned on and power LED is green."},
        {612, " 2. The cables are connected."},
        {613, " 3. That you turned on the scanner before you turned on the computer."},
        {620, " Paper Jammed in Automatic Document Feeder"},
        {623, " This Twain Data Source does not match with Scanner!"},
        {625, "Incorrect scan area settings."},
        {629, "Scanner is not operating normally! Please restart the scanner."},
        {705, "This application does not recognize this mode."},
        {62, "Microsoft Publisher"},
        {204, ".TIF"},
        {501, " Prescanning...     "},
        {606, " bytes of unused diskspace.Your disk has only "},
    };
    for (const Expected& e : expected) EXPECT_EQ(Utf8(Text(e.number)), e.text) << "text " << e.number;
}

TEST(ResourceTexts, HostNamesAreTheSameInEveryLanguage) {
    EXPECT_EQ(Utf8(Text(TXT_PICTURE_PUBLISHER)), "Micrografx Picture Publisher");
    EXPECT_EQ(Utf8(Text(TXT_SCANWARE_CMS)), "Scanware CMS");
    for (int language = 1; language < kLanguageCount; ++language)
        for (int number : kUntranslatedNumbers)
            EXPECT_EQ(Text(language * 1000 + number), Text(number)) << "text " << number << ", language " << language;
}

TEST(ResourceTexts, OtherLanguagesAreTranslated) {
    for (int language = 1; language < kLanguageCount; ++language)
        for (int number : {TXT_LANGUAGE_SELECTION, MSG_NOT_READY, MSG_SCANNER_FAULT, TXT_TAB_PREFERENCES})
            EXPECT_NE(Text(language * 1000 + number), Text(number)) << "text " << number << ", language " << language;
}

TEST(ResourceDialogs, MainDialogHasItsControls) {
    std::vector<TemplateItem> items;
    ASSERT_TRUE(ReadTemplate(L"SCANNER", items));
    for (unsigned id : {IDC_SCAN, IDC_PRESCAN, IDC_CANCEL_SCAN, IDC_TABSTRIP, IDC_INFO, IDC_LOAD, IDC_SAVE,
                        IDC_PREVIOUS, IDC_RESET, IDC_QUICKHELP})
        EXPECT_NE(FindItem(items, id), nullptr) << "control " << id;
}

TEST(ResourceDialogs, ProgressWindowHasItsItems) {
    std::vector<TemplateItem> items;
    ASSERT_TRUE(ReadTemplate(MAKEINTRESOURCEW(IDD_PROGRESS), items));
    for (unsigned id : {IDC_PROGRESS_TEXT, IDC_PROGRESS_BAR, IDC_PROGRESS_SPARE})
        EXPECT_NE(FindItem(items, id), nullptr) << "item " << id;
}

// Each notice template holds its two lines in its own language: the English
// template the English text, the templates of languages 1..7 something else.
void ExpectNotices(int englishId, int firstId, const wchar_t* line1, const wchar_t* line2) {
    for (int language = 0; language < kLanguageCount; ++language) {
        int id = language == 0 ? englishId : firstId + language - 1;
        std::vector<TemplateItem> items;
        ASSERT_TRUE(ReadTemplate(MAKEINTRESOURCEW(id), items)) << "template " << id;
        const TemplateItem* first = FindItem(items, IDC_NOTICE_LINE1);
        const TemplateItem* second = FindItem(items, IDC_NOTICE_LINE2);
        ASSERT_TRUE(first && second) << "template " << id;
        EXPECT_FALSE(first->text.empty() || second->text.empty()) << "template " << id;
        if (language == 0) {
            EXPECT_EQ(first->text, line1);
            EXPECT_EQ(second->text, line2);
        } else {
            EXPECT_NE(first->text, line1) << "template " << id << " is not translated";
        }
    }
}

TEST(ResourceDialogs, NotReadyNoticesInEveryLanguage) {
    ExpectNotices(IDD_NOT_READY_EN, IDD_NOT_READY_FIRST, L"The scanner is not ready.", L"Please wait...");
}

TEST(ResourceDialogs, WarmingUpNoticesInEveryLanguage) {
    ExpectNotices(IDD_WARMING_UP_EN, IDD_WARMING_UP_FIRST, L"Warming Up...", L"It may take a few minutes.");
}

}  // namespace

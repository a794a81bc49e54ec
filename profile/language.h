// The user-interface language: index 0..7 and the text base (1000 x index).
#pragma once

#include <string>
#include <vector>

struct LanguageState {
    int index = 0;
    std::string dsLanguageFilter = "None";  // which languages the language dialog offers
};

extern LanguageState g_language;

// Language index of a LANGUAGE value ("English" 0 ... "Simple" 7, compared
// case-sensitively); any other text gives 0.
int LanguageIndexFromName(const std::string& name);

// The LANGUAGE value of a language index; "English" for an index outside 0..7.
const char* LanguageNameFor(int index);

// The LANGUAGE key a settings save writes, kept for the sibling data source
// of the other scanner family: its section and value depend on whether this
// scanner is the letter-size model.
struct LanguageEntry {
    const char* section;
    const char* value;
};
LanguageEntry SavedLanguageEntry(bool letterModel, int index);

// One line of the language dialog's list: the text shown and the language it
// selects.
struct LanguageChoice {
    int textNumber;
    int languageIndex;
};

// The lines offered for a DSLANGUAGE value: "None" the six European
// languages, "Chinese" and "Simple" English and that Chinese; any other value
// nothing.
std::vector<LanguageChoice> LanguageChoicesFor(const std::string& dsLanguage);

// The line selected when the dialog opens for the current language, or -1.
// In the two-line lists both Chinese languages select the Chinese line.
int InitialLanguageLine(const std::string& dsLanguage, int currentIndex);

inline int LanguageBase() { return g_language.index * 1000; }

// Reads LANGUAGE and DSLANGUAGE from the installation section.
void LoadLanguageFromProfile();

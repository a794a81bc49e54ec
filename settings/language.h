// The user-interface language: index 0..7 and the text base (1000 x index).
#pragma once

#include <string>

struct LanguageState {
    int index = 0;
    std::string dsLanguageFilter = "None";  // which languages the language dialog offers
};

extern LanguageState g_language;

// Language index of a LANGUAGE value ("English" 0 ... "Simple" 7, compared
// case-sensitively); any other text gives 0.
int LanguageIndexFromName(const std::string& name);

inline int LanguageBase() { return g_language.index * 1000; }

// Reads LANGUAGE and DSLANGUAGE from the installation section.
void LoadLanguageFromProfile();

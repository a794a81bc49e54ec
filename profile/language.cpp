#include "profile/language.h"

#include "profile/profile.h"

LanguageState g_language;

void LoadLanguageFromProfile() {
    g_language.index = LanguageIndexFromName(ReadProfileText(kInstallSection, "LANGUAGE", "English", 256));
    g_language.dsLanguageFilter = ReadProfileText(kInstallSection, "DSLANGUAGE", "None", 34);
}

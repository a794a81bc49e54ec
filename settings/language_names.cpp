#include <string>

#include "settings/language.h"

int LanguageIndexFromName(const std::string& name) {
    static const char* const kNames[] = {"English", "Deutsch",    "Francais", "Italiano",
                                         "Espanol", "Nederlands", "Chinese",  "Simple"};
    for (int i = 0; i < 8; ++i)
        if (name == kNames[i]) return i;
    return 0;
}

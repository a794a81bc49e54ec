#include <string>

#include "profile/language.h"

namespace {

constexpr int kLanguageCount = 8;
constexpr int kTraditionalChinese = 6;
constexpr int kSimplifiedChinese = 7;
constexpr int kEnglishText = 165;  // 165..170: the six European languages
constexpr int kChineseText = 223;

const char* const kNames[kLanguageCount] = {"English", "Deutsch",    "Francais", "Italiano",
                                            "Espanol", "Nederlands", "Chinese",  "Simple"};

// The sibling data source names the European languages in English.
const char* const kEnglishNames[6] = {"English", "German", "French", "Italian", "Spanish", "Dutch"};

constexpr const char* kInstall = "KVSINFO_A3";
constexpr const char* kSibling = "KVSINFO_SP";

}  // namespace

int LanguageIndexFromName(const std::string& name) {
    for (int i = 0; i < kLanguageCount; ++i)
        if (name == kNames[i]) return i;
    return 0;
}

const char* LanguageNameFor(int index) { return index >= 0 && index < kLanguageCount ? kNames[index] : kNames[0]; }

LanguageEntry SavedLanguageEntry(bool letterModel, int index) {
    const bool european = index >= 0 && index < kTraditionalChinese;
    const bool chinese = index == kTraditionalChinese || index == kSimplifiedChinese;
    if (chinese) return {letterModel ? kSibling : kInstall, kNames[index]};
    if (!letterModel) return {kSibling, european ? kEnglishNames[index] : kEnglishNames[0]};
    return {kInstall, european ? kNames[index] : kNames[0]};
}

std::vector<LanguageChoice> LanguageChoicesFor(const std::string& dsLanguage) {
    if (dsLanguage == "None") {
        std::vector<LanguageChoice> choices;
        for (int i = 0; i < kTraditionalChinese; ++i) choices.push_back({kEnglishText + i, i});
        return choices;
    }
    if (dsLanguage == "Chinese") return {{kEnglishText, 0}, {kChineseText, kTraditionalChinese}};
    if (dsLanguage == "Simple") return {{kEnglishText, 0}, {kChineseText, kSimplifiedChinese}};
    return {};
}

int InitialLanguageLine(const std::string& dsLanguage, int currentIndex) {
    const std::vector<LanguageChoice> choices = LanguageChoicesFor(dsLanguage);
    if (choices.size() == 2 && (currentIndex == kTraditionalChinese || currentIndex == kSimplifiedChinese))
        return 1;
    for (size_t line = 0; line < choices.size(); ++line)
        if (choices[line].languageIndex == currentIndex) return static_cast<int>(line);
    return -1;
}

// Every text, template and picture the data source's code uses, loaded from
// the installed library: the texts from each of the eight language blocks,
// the templates and pictures once (or once per language where the code picks
// one by language). The list is made from the code at build time, so a new
// use is checked as soon as it is written.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "referenced_resources.h"
#include "tests/wine/ds_fixture.h"

namespace {

constexpr int kLanguageCount = 8;

struct DataFile {
    HMODULE module =
        LoadLibraryExA((dstest::InstallDir() + "\\kvsc_a3.ds").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~DataFile() {
        if (module) FreeLibrary(module);
    }
};

LPCWSTR ResourceType(char kind) {
    switch (kind) {
        case 'M': return MAKEINTRESOURCEW(4);   // RT_MENU
        case 'B': return MAKEINTRESOURCEW(2);   // RT_BITMAP
        case 'I': return MAKEINTRESOURCEW(14);  // RT_GROUP_ICON
        case 'C': return MAKEINTRESOURCEW(12);  // RT_GROUP_CURSOR
        default: return MAKEINTRESOURCEW(5);    // RT_DIALOG
    }
}

TEST(ReferencedResources, TheListWasMadeFromTheCode) {
    EXPECT_GT(sizeof kReferencedTexts / sizeof kReferencedTexts[0], 100u);
    EXPECT_GT(sizeof kReferencedTemplates / sizeof kReferencedTemplates[0], 10u);
}

TEST(ReferencedResources, EveryTextExistsInEveryLanguage) {
    DataFile file;
    ASSERT_NE(file.module, nullptr);
    for (int language = 0; language < kLanguageCount; ++language) {
        for (const ReferencedText& text : kReferencedTexts) {
            wchar_t buffer[512];
            const int id = 1000 * language + text.number;
            EXPECT_GT(LoadStringW(file.module, static_cast<UINT>(id), buffer, 512), 0)
                << text.name << " (" << id << ") is missing in language " << language;
        }
    }
}

TEST(ReferencedResources, EveryTemplateAndPictureExists) {
    DataFile file;
    ASSERT_NE(file.module, nullptr);
    for (const ReferencedTemplate& resource : kReferencedTemplates) {
        const int variants = resource.perLanguage ? kLanguageCount : 1;
        for (int language = 0; language < variants; ++language) {
            const std::wstring name(resource.name, resource.name + strlen(resource.name));
            LPCWSTR id = resource.number ? MAKEINTRESOURCEW(resource.number + language) : name.c_str();
            EXPECT_NE(FindResourceW(file.module, id, ResourceType(resource.kind)), nullptr)
                << resource.name << " is missing" << (resource.perLanguage ? " for language " : "")
                << (resource.perLanguage ? std::to_string(language) : "");
        }
    }
}

}  // namespace

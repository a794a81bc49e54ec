// Shared set-up of the settings tests: the settings record at its defaults, a
// 600-dpi scanner model, the installed library's texts, and a WIN.INI without
// the sections the settings code reads.
#pragma once

#include "device/device.h"
#include "profile/language.h"
#include "profile/module_instance.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "tests/wine/ds_fixture.h"

namespace dstest {

constexpr const char* kModelSection = "KVS-T60PRO";

class SettingsTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        for (const char* section : {"KVS-T60PRO", "KVS-T66S", "KVS-T80PRO", "colorpro", "GBCAL"})
            WriteProfileStringA(section, nullptr, nullptr);
        g_moduleInstance = LoadLibraryExA((InstallDir() + "\\kvsc_a3.ds").c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(g_moduleInstance, nullptr);
        g_twain.appIdentity = {};
        g_language = {};
        g_scanSettings = DefaultScanSettings();
        g_savedTone = DefaultToneSettings();
        g_toneStash = DefaultToneSettings();
        g_caps = {};
        g_device.opticalResolution = 600;
        g_device.letterModel = false;
    }

    void TearDown() override {
        FreeLibrary(g_moduleInstance);
        g_moduleInstance = nullptr;
        SourceTest::TearDown();
    }

    // A WIN.INI value as stored, or "<missing>".
    static std::string Profile(const char* section, const char* key) {
        char value[256] = {};
        GetProfileStringA(section, key, "<missing>", value, sizeof value);
        return value;
    }
};

}  // namespace dstest

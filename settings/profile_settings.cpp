#include "settings/profile_settings.h"

#include <windows.h>

#include "device/device.h"
#include "device/inquiry.h"
#include "profile/language.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "settings/host_rules.h"
#include "settings/model_section.h"
#include "settings/profile_lookup.h"
#include "settings/settings_record.h"

std::string ModelSectionName() {
    const char* name = ModelNameFor(g_device.opticalResolution);
    return *name ? name : ModelNameFor(1200);
}

void LoadProfileSettings(const char* section) {
    ProfileLoadContext context;
    context.feederPresent = g_caps.feederPresent != 0;
    // The scanner's identity reports no transparency adapter, so the
    // transparency sources are never restored.
    context.transparencyAdapter = false;
    context.linearToneHost = HostNameIsText(TXT_SCANWARE_CMS);
    const ProfileLoadOutcome outcome =
        ReadModelSection(ProfileSectionLookup(section, ""), context, g_scanSettings, g_savedTone, g_toneStash);
    if (outcome.clearFeederFlags) {
        g_caps.feederPresent = 0;
        g_caps.feederEnabled = 0;
    }
}

void SaveProfileSettings(const int (&frame)[4]) {
    WriteProfileValues(ModelSectionName(), "", ModelSectionValues(g_scanSettings, frame));
    const LanguageEntry language = SavedLanguageEntry(g_device.letterModel, g_language.index);
    WriteProfileText(language.section, "LANGUAGE", language.value);
}

void SaveCustomResolutions() {
    const uint16_t* f = g_scanSettings.frame;
    const int frame[4] = {f[0], f[1], f[2], f[3]};
    for (const auto& [key, value] : ModelSectionValues(g_scanSettings, frame)) {
        if (key == "CustomRes") WriteProfileText(ModelSectionName().c_str(), key.c_str(), value);
    }
}

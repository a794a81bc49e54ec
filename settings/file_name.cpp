#include "settings/file_name.h"

#include "profile/value_format.h"

CheckedFileName CheckSettingsFileName(const std::string& typed, const std::string& extension, bool patternLists) {
    if (typed.size() >= kMaxSettingsPath) return {FileNameCheck::TooLong, typed};
    std::string name = typed;
    const size_t separator = name.find_last_of("\\/");
    const size_t baseStart = separator == std::string::npos ? 0 : separator + 1;
    if (name.find('.', baseStart) == std::string::npos) {
        name += "." + extension;
        if (name.size() >= kMaxSettingsPath) return {FileNameCheck::TooLong, name};
    }
    if (patternLists && name.find('*', baseStart) != std::string::npos) return {FileNameCheck::Pattern, name};
    const std::string nameExtension = name.substr(name.rfind('.') + 1);
    if (!EqualIgnoringCase(nameExtension, extension)) return {FileNameCheck::WrongExtension, name};
    return {FileNameCheck::Accepted, name};
}

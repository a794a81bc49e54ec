// The checks a settings or batch file name typed in the file dialogs goes
// through before the file is touched.
#pragma once

#include <cstddef>
#include <string>

// Names and full paths must be shorter than this.
constexpr size_t kMaxSettingsPath = 80;

enum class FileNameCheck {
    Accepted,
    TooLong,         // 80 characters or more ("Invalidate path.")
    Pattern,         // the file part holds "*": list the matching files instead
    WrongExtension,  // not the extension of the dialog's mode (" Invalid file name ! ")
};

struct CheckedFileName {
    FileNameCheck check;
    std::string name;  // with "." and the extension appended when it had none
};

// A name whose last part (after the last "\" or "/") has no "." gets "." and
// `extension`; the length limit applies before and after that. With
// `patternLists` (loading) a "*" in the last part makes the name a pattern.
// The extension must then equal `extension`, case ignored.
CheckedFileName CheckSettingsFileName(const std::string& typed, const std::string& extension, bool patternLists);

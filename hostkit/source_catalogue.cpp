#include "hostkit/source_catalogue.h"

#include <algorithm>
#include <cstring>

#include "twain/platform.h"

namespace {

bool HasSourceExtension(const char* name) {
    size_t length = std::strlen(name);
    return length > 3 && _stricmp(name + length - 3, ".ds") == 0;
}

void CollectSourceFiles(const std::string& directory, int depth, std::vector<std::string>& paths) {
    // A directory tree deeper than this is a link loop, not an installation.
    if (depth > 16) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = directory + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CollectSourceFiles(path, depth + 1, paths);
        } else if (HasSourceExtension(found.cFileName)) {
            paths.push_back(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

std::string SourceRootDirectory() {
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return std::string();
    return std::string(windows, length) + "\\" + kSourcesFolder;
}

std::vector<std::string> FindSourceFiles(const std::string& root) {
    std::vector<std::string> paths;
    if (!root.empty()) CollectSourceFiles(root, 0, paths);
    std::sort(paths.begin(), paths.end(),
              [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
    return paths;
}

bool QuerySourceIdentity(const std::string& path, TW_IDENTITY* origin, TW_IDENTITY& identity) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) return false;
    auto entry = reinterpret_cast<DsEntryProc>(reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
    bool answered = false;
    if (entry) {
        TW_IDENTITY reported{};
        answered = entry(origin, DG_CONTROL, DAT_IDENTITY, MSG_GET, &reported) == TWRC_SUCCESS;
        if (answered) identity = reported;
    }
    FreeLibrary(module);
    return answered;
}

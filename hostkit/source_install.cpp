#include "hostkit/source_install.h"

#include <windows.h>

#include "hostkit/source_catalogue.h"

namespace {

void MakeParentDirectories(const std::string& path) {
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    }
}

}  // namespace

std::string ProgramDirectory() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    std::string program(path, length);
    size_t slash = program.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

bool InstallSourceFile(const std::string& from, const std::string& relativePath) {
    std::string root = SourceRootDirectory();
    if (root.empty()) return false;
    std::string to = root + "\\" + relativePath;
    MakeParentDirectories(to);
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool InstallTestSource(const std::string& relativePath) {
    return InstallSourceFile(ProgramDirectory() + "\\test_source.ds", relativePath);
}

bool RemoveSourceFile(const std::string& relativePath) {
    std::string root = SourceRootDirectory();
    return !root.empty() && DeleteFileA((root + "\\" + relativePath).c_str()) != 0;
}

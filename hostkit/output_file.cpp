#include "hostkit/output_file.h"

namespace {

void NoteError(OutputFile& file, const char* what) {
    file.error = std::string("cannot ") + what + " " + file.path + " (Windows error " +
                 std::to_string(GetLastError()) + ")";
}

void CloseAndDelete(OutputFile& file) {
    if (file.handle == INVALID_HANDLE_VALUE) return;
    CloseHandle(file.handle);
    file.handle = INVALID_HANDLE_VALUE;
    DeleteFileA(file.path.c_str());
}

}  // namespace

OutputFile::~OutputFile() { CloseAndDelete(*this); }

bool CreateOutputFile(OutputFile& file, const std::string& path) {
    CloseAndDelete(file);
    file.path = path;
    file.handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.handle != INVALID_HANDLE_VALUE) return true;
    NoteError(file, "create");
    return false;
}

bool WriteOutputAt(OutputFile& file, uint64_t offset, const void* bytes, size_t count) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    if (count > MAXDWORD || !SetFilePointerEx(file.handle, position, nullptr, FILE_BEGIN) ||
        !WriteFile(file.handle, bytes, static_cast<DWORD>(count), &written, nullptr) || written != count) {
        NoteError(file, "write");
        return false;
    }
    return true;
}

bool KeepOutputFile(OutputFile& file) {
    HANDLE handle = file.handle;
    file.handle = INVALID_HANDLE_VALUE;
    if (CloseHandle(handle)) return true;
    NoteError(file, "close");
    DeleteFileA(file.path.c_str());
    return false;
}

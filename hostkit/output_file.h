// The file twscan writes an image into. Rows can be written at any offset
// (a BMP file is filled from the end). A file that is not kept with
// KeepOutputFile is deleted when the struct goes away, so a failed scan
// leaves no half image behind.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

struct OutputFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::string path;
    std::string error;  // why the last call failed

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
};

// Creates (or truncates) the file; the path is passed to Windows as given.
bool CreateOutputFile(OutputFile& file, const std::string& path);
bool WriteOutputAt(OutputFile& file, uint64_t offset, const void* bytes, size_t count);
// Closes the file and keeps it; false when the close failed (the file is
// then deleted).
bool KeepOutputFile(OutputFile& file);

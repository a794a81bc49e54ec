#include "engine/file_writer.h"

#include <vector>

#include "device/request_blocks.h"
#include "session/image_setup.h"

namespace {

bool WriteHeader(HANDLE file, const fileheaders::ImageGeometry& image, rowoutput::FileLayout layout) {
    std::vector<uint8_t> header;
    switch (layout) {
        case rowoutput::FileLayout::kTiff:
            return fileheaders::BuildTiffHeader(image, header) &&
                   WriteBytes(file, header.data(), static_cast<uint32_t>(header.size()));
        case rowoutput::FileLayout::kBmp: {
            if (!fileheaders::BuildBmpHeader(image, header) ||
                !WriteBytes(file, header.data(), static_cast<uint32_t>(header.size())))
                return false;
            // The whole file is claimed now: a disk too small fails here, not
            // in the middle of the scan.
            LARGE_INTEGER size;
            size.QuadPart = blocks::GetU32(header.data(), 2);  // bfSize
            LARGE_INTEGER reached{};
            return SetFilePointerEx(file, size, &reached, FILE_BEGIN) && reached.QuadPart >= size.QuadPart &&
                   SetEndOfFile(file);
        }
        case rowoutput::FileLayout::kNone:
            break;
    }
    return false;
}

// The directory of the default transfer file, without its last backslash.
std::string WorkDirectory() {
    std::string name = g_setup.fileSetupDefault.FileName;
    const size_t slash = name.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : name.substr(0, slash);
}

}  // namespace

HANDLE CreateTransferFile(const char* path, const fileheaders::ImageGeometry& image,
                          rowoutput::FileLayout layout) {
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    if (!WriteHeader(file, image, layout)) {
        CloseHandle(file);
        DeleteFileA(path);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

std::string WorkFilePath(WorkFile file) {
    switch (file) {
        case WorkFile::kGrey:
            return WorkDirectory() + "\\Xfer_G.Tmp";
        case WorkFile::kColour:
            return g_setup.fileSetupDefault.FileName;
        case WorkFile::kColourBesideHostFile:
            return WorkDirectory() + "\\Xfer_C.Tmp";
        case WorkFile::kInterpolation:
            return WorkDirectory() + "\\Interp.Tmp";
    }
    return {};
}

HANDLE CreateWorkFile(WorkFile file, const fileheaders::ImageGeometry& image) {
    return CreateTransferFile(WorkFilePath(file).c_str(), image, rowoutput::FileLayout::kTiff);
}

bool WriteBytes(HANDLE file, const uint8_t* bytes, uint32_t count) {
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

bool WriteBytesAt(HANDLE file, uint64_t offset, const uint8_t* bytes, uint32_t count) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && WriteBytes(file, bytes, count);
}

#include "imaging/data_file.h"

#include <cstdio>

namespace colour {

bool ReadDataFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    // One byte more than allowed tells a file that is too long.
    std::vector<uint8_t> data(maxBytes + 1);
    const size_t got = std::fread(data.data(), 1, data.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || got > maxBytes) return false;
    data.resize(got);
    bytes.swap(data);
    return true;
}

}  // namespace colour

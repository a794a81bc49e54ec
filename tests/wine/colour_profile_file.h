// The colour profile of the reflective source, as a test installs it: where
// it lives, writing it, and a matrix profile that visibly changes colours.
#pragma once

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/colour_profile.h"
#include "tests/wine/ds_fixture.h"

namespace dstest {

inline std::string ProfilePath() { return SourcesDir() + "\\COLOR\\orvaA3.tab"; }

inline void WriteProfile(const std::vector<uint8_t>& bytes) {
    CreateDirectoryA((SourcesDir() + "\\COLOR").c_str(), nullptr);
    std::ofstream file(ProfilePath(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A matrix profile: output curves that darken, and a matrix that mixes the
// channels with offsets.
inline std::vector<uint8_t> MatrixProfile() {
    std::vector<uint8_t> bytes(colour::kMatrixProfileSize);
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) bytes[256 * c + v] = static_cast<uint8_t>(v * (200 - 30 * c) / 255);
    const float matrix[3][4] = {{10, 0.8f, 0.2f, 0}, {-5, 0.1f, 0.9f, 0.1f}, {0, 0, 0.3f, 0.7f}};
    std::memcpy(bytes.data() + 768, matrix, sizeof matrix);
    return bytes;
}

}  // namespace dstest

// Reading the data files that come from outside the system (colour profiles,
// CMYK tables): the whole file, refused when it is longer than its buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace colour {

// Reads the whole file at path into bytes. False when it cannot be opened or
// read, or holds more than maxBytes.
bool ReadDataFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);

}  // namespace colour

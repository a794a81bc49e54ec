// How the disk message writes an amount of bytes.
#pragma once

#include <cstdint>
#include <string>

// Above 1024 the number of kilobytes followed by "K", otherwise the plain number.
std::string FormatByteAmount(uint64_t bytes);

// Free space of the drive a path lies on.
#pragma once

#include <cstdint>

// Free clusters x sectors per cluster x bytes per sector of the drive named
// by the first three characters of `path`; false when it cannot be read.
bool FreeDiskBytesOf(const char* path, uint64_t& free);

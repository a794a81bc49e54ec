#include "engine/disk_space.h"

#include <windows.h>

#include <string>

bool FreeDiskBytesOf(const char* path, uint64_t& free) {
    std::string root = std::string(path).substr(0, 3);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return false;
    free = uint64_t{freeClusters} * sectorsPerCluster * bytesPerSector;
    return true;
}

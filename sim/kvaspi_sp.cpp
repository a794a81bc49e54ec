// KVASPI_SP.DLL: the scanner driver library with the simulated scanner behind
// it. Reads KVASPI_SP.INI beside itself at every ADDR_CHK (a relative BedFile
// is beside it too) and, unless Log=0, appends one line per call to
// KVASPI_SP.LOG beside itself.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "sim/buffer_descriptors.h"
#include "sim/scanner_model.h"

namespace {

struct Driver {
    HINSTANCE module = nullptr;
    sim::ScannerState scanner;
};

Driver g_driver;

std::string FileBesideDriver(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(g_driver.module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return name;
    const std::string modulePath(path, length);
    const size_t slash = modulePath.find_last_of("\\/");
    return modulePath.substr(0, slash == std::string::npos ? 0 : slash + 1) + name;
}

// The whole file, or false when it cannot be opened.
bool ReadTextFile(const std::string& path, std::string& text) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    std::fclose(file);
    return true;
}

void AppendLog(const std::string& line) {
    if (!g_driver.scanner.config.log) return;
    FILE* file = std::fopen(FileBesideDriver("KVASPI_SP.LOG").c_str(), "ab");
    if (file == nullptr) return;
    std::fputs((line + "\n").c_str(), file);
    std::fclose(file);
}

// A buffer's address as the 32-bit descriptors carry it; false for a buffer
// that does not lie wholly below 4 GB, which no descriptor can describe.
bool DescriptorAddress(const uint8_t* buffer, uint32_t bytes, uint32_t& address) {
    const auto start = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(buffer));
    address = static_cast<uint32_t>(start);
    return start + bytes <= uint64_t{1} << 32;
}

// Addresses in blocks and descriptors are the caller's pointers.
uint8_t* CallerMemory(void*, uint32_t address, uint32_t) {
    return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address));
}

bool IsRelativePath(const std::string& path) {
    const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
    const bool drive = path.size() >= 2 && path[1] == ':';
    return !rooted && !drive;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_driver.module = instance;
        g_driver.scanner.memory.resolve = CallerMemory;
    }
    return TRUE;
}

uint32_t WINAPI ADDR_CHK(void) {
    std::string iniText;
    const bool found = ReadTextFile(FileBesideDriver("KVASPI_SP.INI"), iniText);
    sim::ScannerConfig config = sim::ParseScannerConfig(iniText);
    if (!config.bedFile.empty() && IsRelativePath(config.bedFile)) {
        config.bedFile = FileBesideDriver(config.bedFile.c_str());
    }
    sim::ResetScanner(g_driver.scanner, config);
    for (const std::string& problem : g_driver.scanner.config.problems) AppendLog("CONFIG " + problem);
    AppendLog("ADDR_CHK " + std::to_string(config.addrChkHandle) + (found ? "" : " no-ini"));
    return config.addrChkHandle;
}

void WINAPI SPI_CALL(uint8_t* block, uint32_t handle, uint32_t function) {
    const sim::RequestRecord record = sim::HandleDriverCall(g_driver.scanner, block, handle, function);
    AppendLog(sim::FormatRequestLine(record));
}

uint16_t WINAPI BUF_ADDR(uint8_t* buffer, uint32_t bytes, uint8_t* table, uint16_t lineBytes) {
    uint32_t address = 0;
    if (!DescriptorAddress(buffer, bytes, address)) {
        AppendLog("BUF_ADDR " + std::to_string(bytes) + " " + std::to_string(lineBytes) + " 0 above-4GB");
        return 0;
    }
    const uint16_t count =
        sim::BufAddr(g_driver.scanner.config, address, buffer == nullptr ? 0 : bytes, table, lineBytes);
    AppendLog("BUF_ADDR " + std::to_string(bytes) + " " + std::to_string(lineBytes) + " " +
              std::to_string(count));
    return count;
}

}  // extern "C"

#include <cstring>
#include <string>

#include "device/device.h"
#include "device/driver_memory.h"
#include "device/remote_scanner.h"
#include "profile/profile.h"

namespace {
// The request blocks inside travel to the driver by address.
DriverRecord<DeviceState> g_deviceRecord;
}  // namespace

DeviceState& g_device = *g_deviceRecord;

bool DeviceRecordReachable() { return g_deviceRecord.Reachable(); }

bool BindDriverLibrary() {
    std::string name = ReadProfileText(kInstallSection, "DRIVER", "KVASPI_SP.DLL", 256);
    std::string path = InstallDirectory() + "\\" + name;
    size_t slash = path.find_last_of('\\');
    g_device.defaultDriver = path.compare(slash + 1, std::string::npos, "KVASPI_SP.DLL") == 0;

    HMODULE module = LoadLibraryA(path.c_str());
    if (reinterpret_cast<uintptr_t>(module) < 32) return false;
    auto addrChk = reinterpret_cast<AddrChkFn>(reinterpret_cast<void*>(GetProcAddress(module, "ADDR_CHK")));
    auto spiCall = reinterpret_cast<SpiCallFn>(reinterpret_cast<void*>(GetProcAddress(module, "SPI_CALL")));
    auto bufAddr = reinterpret_cast<BufAddrFn>(reinterpret_cast<void*>(GetProcAddress(module, "BUF_ADDR")));
    if (!addrChk || !spiCall || !bufAddr) {
        FreeLibrary(module);
        return false;
    }
    g_device.driverModule = module;
    g_device.addrChk = addrChk;
    g_device.spiCall = spiCall;
    g_device.bufAddr = bufAddr;
    return true;
}

void UnbindDriverLibrary() {
    if (g_device.driverModule) FreeLibrary(g_device.driverModule);
    g_device.driverModule = nullptr;
    g_device.addrChk = nullptr;
    g_device.spiCall = nullptr;
    g_device.bufAddr = nullptr;
    g_device.deviceHandle = 0;
    EndRemoteConnection();
    g_device.remoteMode = false;
}

bool ScannerRequest(uint32_t function, uint8_t* block) {
    if (g_device.remoteMode) return RemoteScannerRequest(function, block);
    g_device.spiCall(block, g_device.deviceHandle, function);
    return true;
}

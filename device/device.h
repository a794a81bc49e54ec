// The scanner access layer: the driver library binding, the request blocks
// (one static instance per function code) and the requests on them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "device/driver_entries.h"
#include "device/request_blocks.h"

struct DeviceState {
    HMODULE driverModule = nullptr;
    AddrChkFn addrChk = nullptr;
    SpiCallFn spiCall = nullptr;
    BufAddrFn bufAddr = nullptr;
    uint32_t deviceHandle = 0;     // what ADDR_CHK returned
    bool remoteMode = false;       // requests go to the sharing peer
    bool defaultDriver = false;    // the driver file is exactly "KVASPI_SP.DLL"
    uint16_t opticalResolution = 0;
    bool letterModel = false;
    uint16_t referenceLevels[4] = {};  // red, green, blue, grey
    float maxAreaWidth = 11.7f;        // inches
    float maxAreaLength = 17.0f;
    RequestBlocks blocks{};
};

extern DeviceState& g_device;

// True when the request blocks lie where a driver can be given their address.
bool DeviceRecordReachable();

// Loads the driver named by WIN.INI DRIVER from the installation directory and
// resolves its three entry points. A library that cannot be loaded or lacks
// an entry point is freed again and the binding fails.
bool BindDriverLibrary();
void UnbindDriverLibrary();

// What opening learns about the scanner for the TWAIN side, each part once
// it is known (even when the open fails later): the version text of the
// source's identity and whether a document feeder is fitted.
struct ScannerIdentity {
    std::optional<std::string> versionInfo;
    std::optional<bool> feederPresent;
};

// Finds the scanner, identifies it and waits until it is ready. Shows the
// message of every failure.
bool OpenScanner(ScannerIdentity& identity);

// Carries out one request on its block; the caller reads the status word.
// Returns false only when the transport failed.
bool ScannerRequest(uint32_t function, uint8_t* block);

// Polls the scanner until it is ready, showing the not-ready notice
// meanwhile. A fault or a scanner that stays busy for 5 minutes ends the wait
// with a device message and failure.
bool WaitUntilReady();

// One status poll, without notice or message: ready, still warming up, or
// failed (the transport failed or the scanner reports a fault).
enum class Readiness { Ready, Busy, Failed };
Readiness PollReadinessOnce();

// Stops the scanner and polls until it is idle again.
bool StopAndWaitIdle();

// Polls until the scanner reports ready, without a notice (after the last
// line of a scan). A fault shows device error 629.
bool PollUntilIdle();

// Sends the lamp time-out (minutes, 255 = off).
bool SetGreenSaver(uint16_t minutes);

// The lamp time-out WIN.INI holds (A3 SCANNER / SAVER, default 20), kept to
// the 16 bits of the request field.
uint16_t SaverDelayFromProfile();

inline uint16_t BlockStatus(const uint8_t* block) { return blocks::GetU16(block, blocks::kStatus); }

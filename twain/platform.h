// What differs between the 32-bit and the 64-bit TWAIN world on Windows: the
// source manager's library and the folder under the Windows directory that
// holds the sources. A 64-bit application can load only 64-bit sources, and
// there is no 64-bit TWAIN_32.DLL: 64-bit sources talk to TWAINDSM.DLL.
#pragma once

#include <windows.h>

#ifdef _WIN64
constexpr const char* kManagerLibrary = "TWAINDSM.DLL";
constexpr const char* kSourcesFolder = "twain_64";
#else
constexpr const char* kManagerLibrary = "TWAIN_32.DLL";
constexpr const char* kSourcesFolder = "TWAIN_32";
#endif

// The TWAIN 2 manager's library, in both worlds.
constexpr const char* kTwain2Manager = "TWAINDSM.DLL";

// The manager's DSM_Entry, looked up in the loaded `manager` as a 1.x source
// does: ordinal 1 of TWAIN_32.DLL, the exported name in TWAINDSM.DLL. Null
// when it is missing.
inline FARPROC FindManagerEntry(HMODULE manager) {
#ifdef _WIN64
    return GetProcAddress(manager, "DSM_Entry");
#else
    return GetProcAddress(manager, MAKEINTRESOURCEA(1));
#endif
}

// The manager that serves this process, loaded once more so that it stays
// while the caller uses it (FreeLibrary afterwards), with its DSM_Entry in
// `entry` (null when missing). A process that has TWAINDSM.DLL loaded is
// served by it, DSM_Entry by name; otherwise by kManagerLibrary. A source
// that always went to TWAIN_32.DLL would load a second manager that knows
// nothing of the host, unless the TWAIN 2 manager redirected the look-up.
inline HMODULE LoadHostManager(FARPROC& entry) {
    entry = nullptr;
    HMODULE manager = nullptr;
    if (GetModuleHandleA(kTwain2Manager)) {
        manager = LoadLibraryA(kTwain2Manager);
        if (manager) entry = GetProcAddress(manager, "DSM_Entry");
    } else {
        manager = LoadLibraryA(kManagerLibrary);
        if (manager) entry = FindManagerEntry(manager);
    }
    return manager;
}

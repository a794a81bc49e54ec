// The TWAIN side of the data source: the stored call, the return and
// condition codes, the source state and the two identities. One host
// connection at a time, one instance per loaded library.
#pragma once

#include <windows.h>

#include "twain/twain.h"

struct TwainSession {
    TW_IDENTITY* callOrigin = nullptr;
    TW_UINT32 callGroup = 0;              // stored, never examined
    TW_UINT16 callDat = 0;
    TW_UINT16 callMsg = 0;
    void* callData = nullptr;
    TW_UINT16 returnCode = TWRC_SUCCESS;  // survives from one call to the next
    TW_UINT16 conditionCode = TWCC_SUCCESS;
    TW_UINT16 sourceState = 300;          // TWAIN state x 100
    TW_IDENTITY dsIdentity{};
    TW_IDENTITY appIdentity{};            // Id 0 while no host is connected
    HWND mainDialog = nullptr;
    TW_UINT32 showUI = 0;
    HWND parentWindow = nullptr;          // owner of the disk and buffer messages
    bool batchListOpen = false;
    bool batchToFile = false;
    bool batchError = false;              // a scan of the batch run failed: its entry shows cancelled
    bool batchScanInTransfer = false;     // the batch run scans inside a transfer: no MSG_XFERREADY
    TW_IMAGEMEMXFER memXferRecord{};
    bool imageDelivered = false;          // the last transfer body ended with TWRC_XFERDONE
};

extern TwainSession g_twain;

// TWAIN states as kept in sourceState.
constexpr TW_UINT16 kState3 = 300;
constexpr TW_UINT16 kState4 = 400;
constexpr TW_UINT16 kState5 = 500;
constexpr TW_UINT16 kState6 = 600;
constexpr TW_UINT16 kState7 = 700;

// True when the source state is one of the TWAIN states first..last.
inline bool StateBetween(int first, int last) {
    return g_twain.sourceState >= first * 100 && g_twain.sourceState <= last * 100;
}

inline void Succeed() {
    g_twain.returnCode = TWRC_SUCCESS;
    g_twain.conditionCode = TWCC_SUCCESS;
}

inline void Fail(TW_UINT16 condition) {
    g_twain.returnCode = TWRC_FAILURE;
    g_twain.conditionCode = condition;
}

// The host's record of the current call, or null.
template <typename T>
T* CallData() {
    return static_cast<T*>(g_twain.callData);
}

// Copies a text into a fixed TWAIN string field, cut to fit.
template <size_t N>
void CopyCut(char (&field)[N], const char* text) {
    lstrcpynA(field, text ? text : "", N);
}

// Shared set-up of the data source's Wine tests: WIN.INI keys, the simulated
// scanner's INI file and request log, and a session through the source
// manager with a message-box recorder.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hostkit/host_session.h"
#include "hostkit/msgbox_recorder.h"
#include "hostkit/source_install.h"
#include "twain/platform.h"
#include "twain/twain.h"

namespace dstest {

inline std::string WindowsDir() {
    char dir[MAX_PATH] = {};
    GetWindowsDirectoryA(dir, MAX_PATH);
    return dir;
}

// Where the source is installed: C:\Windows\TWAIN_32 or C:\Windows\twain_64, then KVSC_A3.
inline std::string SourcesDir() { return WindowsDir() + "\\" + kSourcesFolder; }
inline std::string InstallDir() { return SourcesDir() + "\\KVSC_A3"; }

inline void SetProfile(const char* section, const char* key, const char* value) {
    WriteProfileStringA(section, key, value);
}

// The sections the data source reads, removed so that every default applies.
inline void ClearProfile() {
    for (const char* section : {"KVSINFO_A3", "A3 SCANNER", "KVSINFO_SP"})
        WriteProfileStringA(section, nullptr, nullptr);
}

// Writes the simulated scanner's configuration; "" leaves every default.
inline void SetScanner(const std::string& keys) {
    std::ofstream ini(InstallDir() + "\\KVASPI_SP.INI", std::ios::trunc);
    ini << "[Scanner]\n" << keys;
}

inline void ClearScannerLog() { DeleteFileA((InstallDir() + "\\KVASPI_SP.LOG").c_str()); }

inline std::vector<std::string> ScannerLog() {
    std::ifstream log(InstallDir() + "\\KVASPI_SP.LOG");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Requests since the log was last cleared, in order: "F<function>" or "BUF_ADDR".
inline std::vector<std::string> Requests() {
    std::vector<std::string> requests;
    for (const std::string& line : ScannerLog()) {
        if (line.rfind("BUF_ADDR", 0) == 0) {
            requests.push_back("BUF_ADDR");
        } else if (!line.empty() && isdigit(static_cast<unsigned char>(line[0]))) {
            const size_t tag = line.find(" F") + 1;
            requests.push_back(line.substr(tag, line.find('.', tag) - tag));
        }
    }
    return requests;
}

// Requests of function f in the log ("<n> F<f>.<k> 0x<status>" lines).
inline int CountRequests(int function) {
    std::string tag = " F" + std::to_string(function) + ".";
    int count = 0;
    for (const std::string& line : ScannerLog())
        if (line.find(tag) != std::string::npos) ++count;
    return count;
}

inline std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

// Text `id` of the installed data source's string table, as UTF-8.
inline std::string SourceText(int id) {
    HMODULE module = LoadLibraryExA((InstallDir() + "\\kvsc_a3.ds").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[256] = {};
    if (module) {
        LoadStringW(module, static_cast<UINT>(id), text, 256);
        FreeLibrary(module);
    }
    return Utf8(text);
}

inline const std::string kChecklist =
    " Please make sure :"
    " 1. The scanner is turned on and power LED is green."
    " 2. The cables are connected."
    " 3. That you turned on the scanner before you turned on the computer.";

// The data source loaded directly, as the source manager loads it, for calls
// in state 3 (before any MSG_OPENDS) and calls with a chosen origin.
struct DirectSource {
    using Entry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, void*);
    HMODULE module = nullptr;
    Entry entry = nullptr;
    TW_IDENTITY origin{};

    DirectSource() {
        module = LoadLibraryA((InstallDir() + "\\kvsc_a3.ds").c_str());
        if (module) entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
        origin.Id = 77;
        lstrcpyA(origin.ProductName, "direct");
    }
    ~DirectSource() {
        if (module) FreeLibrary(module);
    }
    TW_UINT16 Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return entry(&origin, dg, dat, msg, data);
    }
};

// The source's TWAIN state (3 to 7), told apart by triplets that are legal in
// some states only: IMAGELAYOUT MSG_GET (4-6), MSG_SET of the same layout
// (4), IMAGEINFO (6), STATUS (4-7). `call` must reach the source as its
// connected host (or, while none is connected, as anyone). The probe
// overwrites the return and condition codes, so read those first.
template <typename Call>
int ProbeState(Call call) {
    TW_IMAGELAYOUT layout{};
    if (call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout) != TWRC_SUCCESS) {
        TW_STATUS status{};
        return call(DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS ? 7 : 3;
    }
    if (call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout) == TWRC_SUCCESS) return 4;
    TW_IMAGEINFO info{};
    return call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info) == TWRC_SUCCESS ? 6 : 5;
}

// The state of the source a host has open (through the source manager).
inline int SourceState(HostSession& host) {
    return ProbeState([&](TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return host.Ds(dg, dat, msg, data);
    });
}

inline int SourceState(DirectSource& source) {
    return ProbeState([&](TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return source.Call(dg, dat, msg, data);
    });
}

// The data source's main dialog: a visible top-level "#32770" window of this
// thread with a control 1001 ("Scan"); null when there is none.
inline BOOL CALLBACK MatchMainDialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) || !GetDlgItem(window, 1001)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

inline HWND FindMainDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MatchMainDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The first child of `parent` of the window class `className`.
inline HWND ChildOfClass(HWND parent, const char* className) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpA(name, className) == 0) return child;
    }
    return nullptr;
}

// A test with a clean WIN.INI, a default scanner, an empty log and a
// recorder that answers every message box.
class SourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearProfile();
        SetScanner("");
        ClearScannerLog();
        ASSERT_TRUE(recorder.Start());
    }

    void TearDown() override { recorder.Stop(); }

    // Opens the manager and the data source; the result of MSG_OPENDS.
    TW_UINT16 Open(HostSession& session, const char* productName = "twtest") {
        if (!session.OpenDsm(productName)) return 0xFFFF;
        return session.OpenSource("");
    }

    // Opens the data source and enables it with its dialog; the dialog.
    HWND OpenWithDialog(HostSession& session, const char* productName = "twtest") {
        EXPECT_EQ(Open(session, productName), TWRC_SUCCESS);
        EXPECT_EQ(session.Enable(true), TWRC_SUCCESS);
        HWND dialog = FindMainDialog();
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }

    MessageBoxRecorder recorder;
};

}  // namespace dstest

// Many scans in one session, the source open throughout: the settings change
// from scan to scan, each of the three transfers is used, with the dialog
// and without it. What the
// process holds (private bytes, kernel handles, drawing and window objects)
// must be the same, within a small bound, after the warm-up scans and after
// the last.
//
// KVSC_SOAK_SCANS sets how many scans (20 unless set; the long run is 200);
// the counts are compared after a tenth of them (at least five) and at the
// end.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "resources/resource_ids.h"
#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;

struct Holdings {
    double privateMB;
    int kernelSlot;      // where a new kernel object's handle lands
    int drawingObjects;  // live drawing objects
    int userObjects;     // live windows and menus
};

// Wine keeps no handle counts. Kernel handles are slots of a table whose
// lowest free slot is used next, so a leak shows as a new handle landing
// further on. Drawing objects, windows and menus are counted by their slot
// numbers: a handle of slot number alone names the live object in that slot.
int KernelSlot() {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const int slot = static_cast<int>(reinterpret_cast<uintptr_t>(event) / 4);
    CloseHandle(event);
    return slot;
}

int DrawingObjects() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(count);
    int live = 0;
    for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot) live += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return live;
}

int UserObjects() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<int>(count);
    int live = 0;
    for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot) {
        live += IsWindow(reinterpret_cast<HWND>(slot)) != 0;
        live += IsMenu(reinterpret_cast<HMENU>(slot)) != 0;
    }
    return live;
}

Holdings Measure() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    // PagefileUsage: under Wine, the anonymous resident memory.
    return {counters.PagefileUsage / 1048576.0, KernelSlot(), DrawingObjects(), UserObjects()};
}

class SoakTest : public SettingsScanTest {
protected:
    void SetUp() override {
        SettingsScanTest::SetUp();
        // A small frame, read when the dialog is made.
        WriteProfileStringA(section, "Frame", kSmallFrame);
        ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
        ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    }
    void TearDown() override {
        DeleteFileA(file.c_str());
        SettingsScanTest::TearDown();
    }

    // Scan i of one session: the transfer changes from scan to scan, the
    // mode chosen in the dialog with every three scans, and every third
    // three runs without the dialog. True when the image arrived.
    bool Scan(int i) {
        static const int kModeLines[] = {3, 2, 0, 1};  // 24-bit colour, grey, line art, fast grey
        static const TW_UINT16 kPixelTypes[] = {TWPT_RGB, TWPT_GRAY, TWPT_BW};
        static const TW_UINT16 kMechanisms[] = {TWSX_MEMORY, TWSX_NATIVE, TWSX_FILE};
        const int three = i / 3;
        const TW_UINT16 mechanism = kMechanisms[i % 3];
        if (host.enabled) host.Disable();
        if (mechanism == TWSX_FILE) ChooseFile(file, TWFF_BMP);
        bool ready;
        if (three % 3 == 2) {
            ready = ReadyUnattended(kPixelTypes[three % 3], 100, mechanism, 0, 0, 2, 1);
        } else {
            EXPECT_EQ(host.SetOneValue(ICAP_XFERMECH, TWTY_UINT16, mechanism), TWRC_SUCCESS);
            EXPECT_EQ(host.Enable(true), TWRC_SUCCESS);
            HWND dialog = FindMainDialog();
            HWND mainPage = GetDlgItem(dialog, IDD_MAIN_PAGE);
            SendDlgItemMessageW(mainPage, IDC_MP_MODE, CB_SETCURSEL, kModeLines[three % 4], 0);
            SendMessageW(mainPage, WM_COMMAND, MAKEWPARAM(IDC_MP_MODE, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(mainPage, IDC_MP_MODE)));
            SendMessageW(dialog, WM_COMMAND, IDC_SCAN, 0);
            ready = host.WaitForNotification(5000) == MSG_XFERREADY;
        }
        if (!ready) return false;
        switch (mechanism) {
            case TWSX_NATIVE: return !NativeImage().rows.empty();
            case TWSX_FILE: return !FileImage(file).empty();
            default: return MemoryImage().codes.back() == TWRC_XFERDONE;
        }
    }

    const std::string file = TempPath("soak.bmp");
};

TEST_F(SoakTest, HoldingsStayFlatOverManyScans) {
    const long scans = std::strtol(std::getenv("KVSC_SOAK_SCANS") ? std::getenv("KVSC_SOAK_SCANS") : "20", nullptr, 10);
    const long warmUp = std::max(5L, scans / 10);
    Holdings early{};
    for (long i = 1; i <= scans; ++i) {
        ASSERT_TRUE(Scan(static_cast<int>(i))) << "scan " << i;
        ASSERT_TRUE(TakeMessages().empty()) << "scan " << i;
        if (i == warmUp) early = Measure();
    }
    const Holdings late = Measure();
    for (const auto& [scan, h] : {std::pair{warmUp, early}, std::pair{scans, late}})
        std::printf("after scan %ld: %.1f MB private, kernel slot %d, %d drawing objects, %d windows and menus\n",
                    scan, h.privateMB, h.kernelSlot, h.drawingObjects, h.userObjects);
    EXPECT_LE(late.privateMB, early.privateMB + 4.0);
    EXPECT_LE(late.kernelSlot, early.kernelSlot + 2);
    EXPECT_LE(late.drawingObjects, early.drawingObjects + 4);
    EXPECT_LE(late.userObjects, early.userObjects + 2);
}

}  // namespace

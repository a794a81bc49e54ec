#include "hostkit/twscan_acquire.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "hostkit/capability_text.h"
#include "hostkit/msgbox_recorder.h"
#include "hostkit/twain_names.h"
#include "hostkit/twscan_receive.h"
#include "twain/platform.h"
#include "twain/fix32.h"

namespace {

constexpr int kScanButton = 1001;
constexpr int kPrescanButton = 1002;
// The source posts MSG_XFERREADY once the scanner is set up; without a
// dialog nobody needs to act first.
constexpr DWORD kUnattendedWaitMs = 120000;
// How long --press-scan waits for the dialog's Scan button, and how often it looks.
constexpr DWORD kPressWaitMs = 60000;
constexpr DWORD kPressRetryMs = 20;
constexpr DWORD kWaitSliceMs = 500;

// MSG_SET of a one-value container. TWRC_CHECKSTATUS (the source took a
// value of its own) is reported and accepted. 0, or the exit status.
int SetOneValue(HostSession& host, TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 item, const std::string& shown) {
    TW_UINT16 rc = host.SetOneValue(cap, itemType, item);
    const std::string what = std::string(CapabilityName(cap)) + " " + shown;
    if (rc == TWRC_CHECKSTATUS) {
        std::fprintf(stderr, "twscan: the source took another value than %s (TWRC_CHECKSTATUS)\n", what.c_str());
        return 0;
    }
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_CAPABILITY, MSG_SET, rc, host.ConditionCode(), what);
    return 0;
}

const char* MechanismName(TW_UINT16 mechanism) {
    return mechanism == TWSX_NATIVE ? "TWSX_NATIVE" : mechanism == TWSX_FILE ? "TWSX_FILE" : "TWSX_MEMORY";
}

// The file transfer's set-up: the source writes --out itself. The record
// carries TIFF, the one record format every source takes; the layout the
// source writes follows ICAP_IMAGEFILEFORMAT, set afterwards because a
// DAT_SETUPFILEXFER MSG_SET sets the file format from the record.
int SetUpFileTransfer(HostSession& host, const TwscanOptions& options) {
    TW_SETUPFILEXFER setup{};
    std::strncpy(setup.FileName, options.out.c_str(), sizeof setup.FileName - 1);
    setup.Format = TWFF_TIFF;
    TW_UINT16 rc = host.Ds(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, rc, host.ConditionCode());
    const bool tiff = options.fileFormat == TWFF_TIFF;
    return SetOneValue(host, ICAP_IMAGEFILEFORMAT, TWTY_UINT16, options.fileFormat, tiff ? "TWFF_TIFF" : "TWFF_BMP");
}

int SetFrame(HostSession& host, const ScanArea& area) {
    TW_IMAGELAYOUT layout{};
    TW_UINT16 rc = host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout);
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, rc, host.ConditionCode());
    layout.Frame = {Fix32FromReal(static_cast<float>(area.left)), Fix32FromReal(static_cast<float>(area.top)),
                    Fix32FromReal(static_cast<float>(area.right)), Fix32FromReal(static_cast<float>(area.bottom))};
    rc = host.Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, rc, host.ConditionCode());
    return 0;
}

// Everything the options ask of the source before it is enabled.
int Negotiate(HostSession& host, const TwscanOptions& options) {
    int status = 0;
    if (options.pixelType) {
        const TW_UINT16 type = *options.pixelType;
        const char* name = type == TWPT_BW ? "TWPT_BW" : type == TWPT_GRAY ? "TWPT_GRAY" : "TWPT_RGB";
        status = SetOneValue(host, ICAP_PIXELTYPE, TWTY_UINT16, type, name);
    }
    if (options.dpi) {
        const TW_UINT32 dpi = Fix32ToContainer(Fix32FromInt(*options.dpi));
        const std::string shown = std::to_string(*options.dpi);
        if (!status) status = SetOneValue(host, ICAP_XRESOLUTION, TWTY_FIX32, dpi, shown);
        if (!status) status = SetOneValue(host, ICAP_YRESOLUTION, TWTY_FIX32, dpi, shown);
    }
    if (!status)
        status = SetOneValue(host, ICAP_XFERMECH, TWTY_UINT16, options.xferMech, MechanismName(options.xferMech));
    if (!status && options.xferMech == TWSX_FILE) status = SetUpFileTransfer(host, options);
    if (!status && options.area) status = SetFrame(host, *options.area);
    return status;
}

BOOL CALLBACK MatchScanDialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window) || !GetDlgItem(window, kScanButton))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// --press-scan and --prescan: press a button of the source's dialog (a
// top-level dialog of this thread with control 1001) once the button is
// enabled and nothing waits in the thread's queue; until then it looks again
// from the message loop. The look-ups run from HostSession::Defer, so they
// may still be queued when the wait has ended; they then do nothing.
struct ScanPress {
    HostSession* host = nullptr;
    DWORD start = 0;
    bool active = false;  // the wait for the press goes on
    bool gaveUp = false;
    int button = kScanButton;
    bool pressed = false;
};

ScanPress g_scanPress;

HWND FindScanDialog() {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MatchScanDialog, reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

void TryPressScan() {
    ScanPress& press = g_scanPress;
    if (!press.active) return;
    HWND dialog = FindScanDialog();
    // Pointer moves do not count: with the pointer resting on the dialog
    // they keep coming and say nothing of the dialog's own work.
    const bool pending = HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_SENDMESSAGE | QS_KEY | QS_MOUSEBUTTON)) != 0;
    if (dialog && IsWindowEnabled(GetDlgItem(dialog, press.button)) && !pending) {
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(press.button), 0);
        press.active = false;
        press.pressed = true;
        std::fprintf(stderr, "twscan: pressed the dialog's %s button\n",
                     press.button == kScanButton ? "Scan" : "Prescan");
        return;
    }
    if (GetTickCount() - press.start >= kPressWaitMs) {
        press.active = false;
        press.gaveUp = true;
        return;
    }
    Sleep(kPressRetryMs);
    press.host->Defer(TryPressScan);
}

// While twscan presses the dialog's buttons itself, nobody is there to read
// the source's message boxes: each is answered as its first button and its
// text printed, instead of the run waiting for ever.
class AnsweredMessageBoxes {
public:
    AnsweredMessageBoxes() { recorder_.Start(); }
    ~AnsweredMessageBoxes() {
        recorder_.Stop();
        for (const RecordedBox& box : recorder_.boxes) {
            std::string text = box.caption + ": " + box.text;
            for (char& c : text)
                if (c == '\n' || c == '\r') c = ' ';
            std::fprintf(stderr, "twscan: the source showed a message: %s\n", text.c_str());
        }
    }
    AnsweredMessageBoxes(const AnsweredMessageBoxes&) = delete;
    AnsweredMessageBoxes& operator=(const AnsweredMessageBoxes&) = delete;

private:
    MessageBoxRecorder recorder_;
};

// The notification that ends the wait: MSG_XFERREADY, MSG_CLOSEDSREQ, or
// MSG_NULL when none came in time (a message has been printed).
TW_UINT16 WaitForSource(HostSession& host, const TwscanOptions& options) {
    if (!options.ui) {
        TW_UINT16 notification = host.WaitForNotification(kUnattendedWaitMs);
        if (notification == MSG_NULL)
            std::fprintf(stderr, "twscan: no MSG_XFERREADY from the source within %lu seconds\n",
                         static_cast<unsigned long>(kUnattendedWaitMs / 1000));
        return notification;
    }
    std::fprintf(stderr, "twscan: waiting for the scan started in the source's dialog\n");
    g_scanPress = ScanPress{&host, GetTickCount(), options.pressScan, false, kScanButton, false};
    std::optional<AnsweredMessageBoxes> answered;
    if (options.pressScan) {
        answered.emplace();
        host.Defer(TryPressScan);
    }
    for (;;) {
        TW_UINT16 notification = host.WaitForNotification(kWaitSliceMs);
        if (notification == MSG_XFERREADY || notification == MSG_CLOSEDSREQ) {
            g_scanPress.active = false;
            return notification;
        }
        if (g_scanPress.gaveUp) {
            std::fprintf(stderr, "twscan: the source's dialog showed no enabled Scan button within %lu seconds\n",
                         static_cast<unsigned long>(kPressWaitMs / 1000));
            return MSG_NULL;
        }
    }
}

// --prescan: the dialog's prescan, then its picture copied to --out. 0, or
// the exit status. The prescan runs inside the pressed button's message,
// with the dialog's Prescan button disabled; once the message loop has
// handled the press, the button is enabled again.
int PrescanToFile(HostSession& host, const TwscanOptions& options) {
    AnsweredMessageBoxes answered;
    g_scanPress = ScanPress{&host, GetTickCount(), true, false, kPrescanButton, false};
    host.Defer(TryPressScan);
    for (;;) {
        if (host.WaitForNotification(kWaitSliceMs) == MSG_CLOSEDSREQ) {
            g_scanPress.active = false;
            std::fprintf(stderr, "twscan: the source's dialog was closed before the prescan ended\n");
            return kTwscanFailure;
        }
        if (g_scanPress.gaveUp) {
            std::fprintf(stderr, "twscan: the source's dialog showed no enabled Prescan button within %lu seconds\n",
                         static_cast<unsigned long>(kPressWaitMs / 1000));
            return kTwscanFailure;
        }
        HWND dialog = FindScanDialog();
        const bool pending = HIWORD(GetQueueStatus(QS_POSTMESSAGE)) != 0;
        if (g_scanPress.pressed && !pending && dialog && IsWindowEnabled(GetDlgItem(dialog, kPrescanButton))) break;
    }
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string picture = std::string(windows) + "\\" + kSourcesFolder + "\\KVSC_A3\\ORVC0000.BMP";
    if (!CopyFileA(picture.c_str(), options.out.c_str(), FALSE)) {
        std::fprintf(stderr, "twscan: the prescan left no picture %s (Windows error %lu)\n", picture.c_str(),
                     GetLastError());
        return kTwscanFailure;
    }
    std::fprintf(stderr, "twscan: the preview picture copied to %s\n", options.out.c_str());
    return 0;
}

}  // namespace

int ReportFailure(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 rc, TW_UINT16 conditionCode,
                  const std::string& what) {
    std::string triplet = TripletName(dg, dat, msg);
    if (!what.empty()) triplet += " (" + what + ")";
    std::fprintf(stderr, "twscan: %s failed: return code %u (%s), condition code %u (%s)\n", triplet.c_str(), rc,
                 ReturnCodeName(rc).c_str(), conditionCode, ConditionCodeName(conditionCode).c_str());
    return kTwscanFailure;
}

bool WriteSettings(const TwscanOptions& options) {
    for (const ProfileSetting& setting : options.settings) {
        if (!WriteProfileStringA(setting.section.c_str(), setting.key.c_str(), setting.value.c_str())) {
            std::fprintf(stderr, "twscan: cannot write [%s] %s=%s to WIN.INI (Windows error %lu)\n",
                         setting.section.c_str(), setting.key.c_str(), setting.value.c_str(), GetLastError());
            return false;
        }
    }
    return true;
}

int Acquire(HostSession& host, const TwscanOptions& options) {
    TW_UINT16 rc = host.OpenSource(options.source.c_str());
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, rc, host.ConditionCode());
    if (int status = Negotiate(host, options)) return status;

    rc = host.Enable(options.ui);
    if (rc != TWRC_SUCCESS)
        return ReportFailure(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, rc, host.ConditionCode());

    int status = kTwscanFailure;
    if (options.prescan) {
        status = PrescanToFile(host, options);
    } else {
        switch (WaitForSource(host, options)) {
            case MSG_XFERREADY:
                status = ReceiveImage(host, options);
                break;
            case MSG_CLOSEDSREQ:
                if (options.ui) {
                    std::fprintf(stderr, "twscan: the source's dialog was closed without a scan; no image written\n");
                    status = 0;
                } else {
                    std::fprintf(stderr, "twscan: the source asked to be closed without an image (MSG_CLOSEDSREQ)\n");
                }
                break;
            default:
                break;
        }
    }

    rc = host.Disable();
    if (rc != TWRC_SUCCESS) {
        int failed = ReportFailure(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, rc, host.ConditionCode());
        if (status == 0) status = failed;
    }
    rc = host.CloseSource();
    if (rc != TWRC_SUCCESS) {
        int failed = ReportFailure(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, rc, host.ConditionCode());
        if (status == 0) status = failed;
    }
    return status;
}

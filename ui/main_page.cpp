#include "ui/main_page.h"

#include <string>
#include <vector>

#include "engine/processing.h"
#include "engine/resolution_rules.h"
#include "imaging/colour_profile.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "settings/host_rules.h"
#include "settings/settings_dialogs.h"
#include "settings/settings_record.h"
#include "ui/batch_window.h"
#include "ui/current_scan_area.h"
#include "ui/custom_dialogs.h"
#include "ui/main_dialog.h"
#include "ui/page_host.h"
#include "ui/page_icons.h"
#include "ui/preview_window.h"
#include "ui/resolution_menu.h"
#include "ui/tool_tips.h"

namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr int kModeTexts[] = {TXT_MODE_LINEART, TXT_MODE_FASTGRAY, TXT_MODE_GRAY,
                              TXT_MODE_24BIT,   TXT_MODE_CMYK,     TXT_MODE_36BIT};
constexpr int kSourceTexts[] = {TXT_SOURCE_REFLECTIVE, TXT_SOURCE_POSITIVE, TXT_SOURCE_NEGATIVE};
constexpr int kDestinationTexts[] = {TXT_DEST_MONITOR, TXT_DEST_HALFTONE, TXT_DEST_CONT_TONE};
constexpr int kDescreenTexts[] = {TXT_NONE, TXT_DESCREEN_NEWSPAPER, TXT_DESCREEN_MAGAZINE, TXT_DESCREEN_ART_PRINT};
constexpr int kUnitTexts[] = {TXT_UNIT_INCHES, TXT_UNIT_PIXELS, TXT_UNIT_CM, TXT_UNIT_MM};
constexpr const wchar_t* kQualityTexts[] = {L"1.0", L"1.5", L"2.0", L"2.5", L"3.0"};
constexpr uint16_t kScalingChoices[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};
constexpr LPARAM kCustomScalingItem = 0;  // item data of the "Custom" line

struct Label {
    int control;
    int text;
};
constexpr Label kLabels[] = {{IDC_MP_MODE_LABEL, TXT_LABEL_SCAN_MODE},
                             {IDC_MP_SOURCE_LABEL, TXT_LABEL_SCAN_SOURCE},
                             {IDC_MP_RESOLUTION_LABEL, TXT_RESOLUTION},
                             {IDC_MP_DESTINATION_LABEL, TXT_LABEL_DESTINATION},
                             {IDC_MP_QUALITY_LABEL, TXT_LABEL_QUALITY_FACTOR},
                             {IDC_MP_DESCREEN_LABEL, TXT_LABEL_DESCREEN},
                             {IDC_MP_OUTPUT_MATCHING, TXT_LABEL_OUTPUT_MATCHING},
                             {IDC_MP_UNIT_LABEL, TXT_LABEL_UNITS},
                             {IDC_MP_WIDTH_LABEL, TXT_LABEL_WIDTH},
                             {IDC_MP_LENGTH_LABEL, TXT_LABEL_LENGTH},
                             {IDC_MP_SCALING_LABEL, TXT_OUTPUT_SCALING},
                             {IDC_MP_SIZE_LABEL, TXT_LABEL_IMAGE_SIZE},
                             {IDC_MP_KB_LABEL, TXT_LABEL_KB},
                             {IDC_MP_BATCH_SCAN, TXT_BATCH_SCAN}};

struct Icon {
    int control;
    int tipText;
};
constexpr Icon kIcons[] = {{IDC_MP_CALIBRATOR_ICON, TXT_LABEL_COLOR_CALIBRATOR},
                           {IDC_MP_LANGUAGE_ICON, TXT_LABEL_LANGUAGE},
                           {IDC_MP_LAMP_ICON, TXT_GREEN_SAVER}};

struct MainPageState {
    HBRUSH grey = nullptr;
    int shownUnit = -1;     // the unit whose name the unit labels show
    int hovered = 0;        // the control under the mouse
    HWND tip = nullptr;
};

MainPageState g_page;

void FillList(HWND page, int control, const std::vector<std::wstring>& lines, int selected) {
    SendDlgItemMessageW(page, control, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& line : lines)
        SendDlgItemMessageW(page, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendDlgItemMessageW(page, control, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

template <size_t N>
std::vector<std::wstring> Texts(const int (&numbers)[N]) {
    std::vector<std::wstring> texts;
    for (int number : numbers) texts.push_back(LoadText(number));
    return texts;
}

int Selection(HWND page, int control) {
    return static_cast<int>(SendDlgItemMessageW(page, control, CB_GETCURSEL, 0, 0));
}

void Enable(HWND page, int control, bool enable) { EnableWindow(GetDlgItem(page, control), enable); }

int ModeLine(const ScanSettings& s) {
    return s.scanMode == kModeColour ? 3 + s.colourKind : s.scanMode - kModeLineArt;
}

bool OutputMatchingAvailable(const ScanSettings& s) {
    return s.isColour && s.scanSource != kSourceNegative && !HostNameIsText(TXT_SCANWARE_CMS);
}

// Output matching off where it cannot be had, the box following the record.
void ShowOutputMatching(HWND page) {
    ScanSettings& s = g_scanSettings;
    if (!OutputMatchingAvailable(s) && s.outputMatch) {
        s.outputMatch = 0;
        colour::ReleaseColourProfile(g_processing.profile);
    }
    CheckDlgButton(page, IDC_MP_OUTPUT_MATCHING, s.outputMatch ? BST_CHECKED : BST_UNCHECKED);
    Enable(page, IDC_MP_OUTPUT_MATCHING, OutputMatchingAvailable(s));
}

void ShowResolution(HWND page) {
    const ScanSettings& s = g_scanSettings;
    SetDlgItemInt(page, IDC_MP_RESOLUTION, s.resolution, FALSE);
    const bool halftone = s.destination == kDestHalftonePrinter;
    SetDlgItemTextW(page, IDC_MP_RESOLUTION_UNIT, LoadText(halftone ? TXT_LPI : TXT_DPI).c_str());
}

// The fixed percentages, "Custom", and after it the scaling in use when it is
// not one of them.
void FillScaling(HWND page) {
    HWND list = GetDlgItem(page, IDC_MP_SCALING);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const uint16_t current = g_scanSettings.scaling;
    LRESULT selected = -1;
    auto add = [list](const std::wstring& text, LPARAM value) {
        LRESULT line = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(line), value);
        return line;
    };
    for (uint16_t choice : kScalingChoices) {
        LRESULT line = add(std::to_wstring(choice) + L" %", choice);
        if (choice == current) selected = line;
    }
    add(LoadText(TXT_CUSTOM), kCustomScalingItem);
    if (selected < 0) selected = add(std::to_wstring(current) + L" %", current);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void ShowEnabledStates(HWND page) {
    const ScanSettings& s = g_scanSettings;
    Enable(page, IDC_MP_QUALITY, s.destination == kDestHalftonePrinter);
    Enable(page, IDC_MP_DESCREEN, s.scanSource == kSourceReflective);
    Enable(page, IDC_MP_SOURCE, !(g_caps.feederPresent && g_caps.feederEnabled));
    ShowOutputMatching(page);
}

void CloseTip() {
    if (g_page.tip && IsWindow(g_page.tip)) DestroyWindow(g_page.tip);
    g_page.tip = nullptr;
}

// The mouse moved over `over`: entering an icon shows its tip, anything else
// closes it.
void MouseOver(HWND page, HWND over) {
    const int control = GetParent(over) == page ? GetDlgCtrlID(over) : 0;
    if (control == g_page.hovered) return;
    g_page.hovered = control;
    CloseTip();
    for (const Icon& icon : kIcons) {
        if (icon.control != control) continue;
        RECT rect;
        GetWindowRect(over, &rect);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
        g_page.tip = ShowToolTip(page, POINT{rect.left, rect.bottom + 2}, LoadText(icon.tipText), font);
    }
}

void OutputMatchingClicked(HWND page) {
    ScanSettings& s = g_scanSettings;
    colour::ReleaseColourProfile(g_processing.profile);
    s.outputMatch = IsDlgButtonChecked(page, IDC_MP_OUTPUT_MATCHING) == BST_CHECKED ? 1 : 0;
    if (!s.outputMatch || !OutputMatchingAvailable(s)) {
        ShowOutputMatching(page);
        return;
    }
    // The profile is read whole and checked against the two layouts; a file
    // that is missing, too long or of neither size is refused alike.
    if (colour::LoadColourProfile(colour::ColourProfilePath(SourcesDirectory(), s.scanSource), g_processing.profile))
        return;
    MessageBoxW(page, LoadText(TXT_PROFILE_MISSING).c_str(), LoadText(TXT_INFORMATION).c_str(),
                MB_OK | MB_ICONINFORMATION);
    s.outputMatch = 0;
    CheckDlgButton(page, IDC_MP_OUTPUT_MATCHING, BST_UNCHECKED);
}

void ScalingChosen(HWND page) {
    HWND list = GetDlgItem(page, IDC_MP_SCALING);
    const LRESULT line = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (line < 0) return;
    const LRESULT value = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(line), 0);
    g_scanSettings.scaling = value == kCustomScalingItem ? RunCustomScalingDialog(page) : static_cast<uint16_t>(value);
    FillScaling(page);
}

void DestinationChosen(HWND page, int line) {
    ScanSettings& s = g_scanSettings;
    s.destination = static_cast<uint16_t>(kDestMonitor + line);
    if (s.destination != kDestHalftonePrinter) {
        s.qualityFactor = 10;
        SendDlgItemMessageW(page, IDC_MP_QUALITY, CB_SETCURSEL, 0, 0);
    }
    ReloadResolutionMenu();
    const bool monitor36 = s.destination == kDestMonitor && s.scanMode == kModeColour && s.colourKind == kColour36;
    if (s.destination == kDestHalftonePrinter || monitor36) {
        s.dpiScale = 0;
        AddCustomResolution(s.destination == kDestHalftonePrinter ? 133 : 100);
        ApplyResolution(page, s.destination == kDestHalftonePrinter ? 133 : 100);
    }
    ShowResolution(page);
    ShowEnabledStates(page);
}

void ModeChosen(HWND page, int line) {
    ScanSettings& s = g_scanSettings;
    SetPersistedScanMode(s, line < 3 ? kModeLineArt + line : kModeColour + (line - 3));
    ReloadResolutionMenu();
    ApplyResolution(page, s.resolution);
    ShowEnabledStates(page);
    AdaptPagesToScanMode(true);
}

void SourceChosen(HWND page, int line) {
    ScanSettings& s = g_scanSettings;
    s.scanSource = static_cast<uint8_t>(line);
    s.sourceId = static_cast<uint16_t>(kSourceIdReflective + line);
    colour::ReleaseColourProfile(g_processing.profile);
    ShowSourceArea();
    ShowEnabledStates(page);
}

// A choice from one of the lists. While a scan runs the list goes back to
// the value the scan was started with.
void ListChanged(HWND page, int control) {
    const int line = Selection(page, control);
    if (line < 0) return;
    if (!g_mainDialog.idle) {
        RefreshMainPage(page);
        return;
    }
    ScanSettings& s = g_scanSettings;
    switch (control) {
        case IDC_MP_MODE: ModeChosen(page, line); break;
        case IDC_MP_SOURCE: SourceChosen(page, line); break;
        case IDC_MP_DESTINATION: DestinationChosen(page, line); break;
        case IDC_MP_QUALITY: s.qualityFactor = static_cast<uint16_t>(10 + 5 * line); break;
        case IDC_MP_DESCREEN:
            s.descreen = static_cast<uint16_t>(kDescreenNone + line);
            s.descreenActive = s.descreen != kDescreenNone;
            break;
        case IDC_MP_UNIT: s.unit = static_cast<uint32_t>(line); break;
        case IDC_MP_SCALING: ScalingChosen(page); break;
        default: return;
    }
    UpdateScanAreaFigures(page);
    UpdateCurrentBatchJob();
}

void IconClicked(HWND page, int control) {
    HWND owner = GetParent(page) ? GetParent(page) : page;
    switch (control) {
        case IDC_MP_CALIBRATOR_ICON:
            LaunchCalibrator(owner);
            break;
        case IDC_MP_LANGUAGE_ICON:
            if (ReadProfileText(kInstallSection, "DSLANGUAGE", "None", 34) == "English") break;
            if (RunLanguageDialog(owner)) {
                RefreshMainPage(page);
                if (GetParent(page)) SendMessageW(GetParent(page), kLanguageChangedMessage, 0, 0);
            }
            break;
        case IDC_MP_LAMP_ICON:
            RunLampTimeoutDialog(owner);
            break;
    }
}

void Command(HWND page, int control, WORD notification) {
    if (control >= 1800 && control <= 1828) {
        if (!g_mainDialog.idle) return;
        if (control == kMenuCustom) {
            RunCustomResolutionDialog(page);
        } else if (ChooseMenuResolution(control)) {
            ApplyResolution(page, g_scanSettings.resolution);
            UpdateCurrentBatchJob();
        }
        ShowResolution(page);
        return;
    }
    switch (control) {
        case IDC_MP_RESOLUTION:
            if (notification == STN_CLICKED && g_mainDialog.idle)
                OpenResolutionMenu(page, GetDlgItem(page, IDC_MP_RESOLUTION));
            break;
        case IDC_MP_OUTPUT_MATCHING:
            if (notification != BN_CLICKED) break;
            if (g_mainDialog.idle) OutputMatchingClicked(page);
            else ShowOutputMatching(page);
            break;
        case IDC_MP_CALIBRATOR_ICON:
        case IDC_MP_LANGUAGE_ICON:
        case IDC_MP_LAMP_ICON:
            if (notification == STN_CLICKED && g_mainDialog.idle) IconClicked(page, control);
            break;
        case IDC_MP_BATCH_SCAN:
            // A command of the main dialog, which ignores it while a scan runs.
            if (notification == BN_CLICKED && GetParent(page))
                SendMessageW(GetParent(page), WM_COMMAND, IDC_MP_BATCH_SCAN, 0);
            break;
        default:
            if (notification == CBN_SELCHANGE) ListChanged(page, control);
            break;
    }
}

INT_PTR CALLBACK MainPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            g_page = {};
            g_page.grey = CreateSolidBrush(kGrey);
            RefreshMainPage(page);
            return FALSE;
        case WM_COMMAND:
            Command(page, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DRAWITEM:
            DrawPageIcon(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_SETCURSOR:
            if (HIWORD(lParam) == WM_MOUSEMOVE) MouseOver(page, reinterpret_cast<HWND>(wParam));
            return FALSE;
        case WM_CTLCOLORSTATIC:
            // The resolution field opens its menu: white, as a field to click.
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_MP_RESOLUTION)) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
            }
            SetBkColor(reinterpret_cast<HDC>(wParam), kGrey);
            return reinterpret_cast<INT_PTR>(g_page.grey);
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
            SetBkColor(reinterpret_cast<HDC>(wParam), kGrey);
            return reinterpret_cast<INT_PTR>(g_page.grey);
        case WM_DESTROY:
            CloseTip();
            UnregisterToolTipClass(g_moduleInstance);
            DestroyResolutionMenu();
            if (g_page.grey) DeleteObject(g_page.grey);
            g_page = {};
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND CreateMainPage(HWND mainDialog) {
    RegisterToolTipClass(g_moduleInstance);
    return CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_MAIN_PAGE), mainDialog, MainPageProc, 0);
}

void RefreshMainPage(HWND page) {
    const ScanSettings& s = g_scanSettings;
    for (const Label& label : kLabels) SetDlgItemTextW(page, label.control, LoadText(label.text).c_str());
    FillList(page, IDC_MP_MODE, Texts(kModeTexts), ModeLine(s));
    FillList(page, IDC_MP_SOURCE, Texts(kSourceTexts), s.scanSource <= kSourceNegative ? s.scanSource : -1);
    FillList(page, IDC_MP_DESTINATION, Texts(kDestinationTexts), s.destination - kDestMonitor);
    FillList(page, IDC_MP_QUALITY, std::vector<std::wstring>(std::begin(kQualityTexts), std::end(kQualityTexts)),
             (s.qualityFactor - 10) / 5);
    FillList(page, IDC_MP_DESCREEN, Texts(kDescreenTexts), s.descreen - kDescreenNone);
    FillList(page, IDC_MP_UNIT, Texts(kUnitTexts), static_cast<int>(s.unit));
    FillScaling(page);
    ShowResolution(page);
    ShowEnabledStates(page);
    ReloadResolutionMenu();
    g_page.shownUnit = -1;
    ApplyResolution(page, s.resolution);
}

void UpdateScanAreaFigures(HWND page) {
    const ScanAreaFigures figures = CurrentScanAreaFigures();
    if (!figures.valid) return;
    const int unit = static_cast<int>(g_scanSettings.unit);
    if (unit != g_page.shownUnit && unit >= 0 && unit < 4) {
        const std::wstring name = LoadText(kUnitTexts[unit]);
        SetDlgItemTextW(page, IDC_MP_WIDTH_UNIT, name.c_str());
        SetDlgItemTextW(page, IDC_MP_LENGTH_UNIT, name.c_str());
        g_page.shownUnit = unit;
    }
    SetDlgItemTextA(page, IDC_MP_WIDTH, figures.widthText.c_str());
    SetDlgItemTextA(page, IDC_MP_LENGTH, figures.lengthText.c_str());
    SetDlgItemTextA(page, IDC_MP_SIZE, figures.sizeText.c_str());
}

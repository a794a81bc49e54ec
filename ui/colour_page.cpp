#include "ui/colour_page.h"

#include <vector>

#include "engine/tone_page_rules.h"
#include "imaging/hue_wheel.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/dialog_look.h"
#include "ui/main_dialog.h"
#include "ui/page_thumbnails.h"
#include "ui/picture_buttons.h"
#include "ui/prescan_sequence.h"
#include "ui/scroll_request.h"
#include "ui/tone_copies.h"

namespace {

// The balance bars by pair (cyan-red, magenta-green, yellow-blue) and their labels.
struct BalanceBar {
    int bar;
    int value;
};
constexpr BalanceBar kBalanceBars[3] = {
    {IDC_CP_CR_BAR, IDC_CP_CR_VALUE}, {IDC_CP_MG_BAR, IDC_CP_MG_VALUE}, {IDC_CP_YB_BAR, IDC_CP_YB_VALUE}};

bool g_pressInWheel = false;

colour::HueWheel Wheel(HWND page) {
    RECT rect;
    GetWindowRect(GetDlgItem(page, IDC_WHEEL_FRAME), &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return colour::HueWheelOf(rect.left, rect.top, rect.right - rect.left);
}

void ShowValue(HWND page, int bar, int label, int value) {
    SetScrollPos(GetDlgItem(page, bar), SB_CTL, value, TRUE);
    SetDlgItemInt(page, label, static_cast<UINT>(value), TRUE);
}

// Every copy of the settings gets the reset point when its pick lies
// outside the wheel.
void CheckPickedPoint(HWND page) {
    const colour::HueWheel wheel = Wheel(page);
    for (ToneSettings* tone : {&WorkingTone(), &g_scanSettings.tone, &g_savedTone, &g_toneStash})
        tone->circlePos = colour::CheckedCirclePos(wheel, tone->circlePos);
}

// The copies taken from the live settings and shown.
void ShowSettings(HWND page) {
    TakeToneCopies();
    const ToneSettings& tone = WorkingTone();
    for (int i = 0; i < 3; ++i) {
        SetScrollRange(GetDlgItem(page, kBalanceBars[i].bar), SB_CTL, -100, 100, FALSE);
        ShowValue(page, kBalanceBars[i].bar, kBalanceBars[i].value, tone.colorBalance[i]);
    }
    SetScrollRange(GetDlgItem(page, IDC_CP_SATURATION_BAR), SB_CTL, -100, 100, FALSE);
    ShowValue(page, IDC_CP_SATURATION_BAR, IDC_CP_SATURATION_VALUE, tone.saturation);
    CheckPickedPoint(page);
    InvalidateRect(GetDlgItem(page, IDC_WHEEL_FRAME), nullptr, FALSE);
}

void PageShown(HWND page) {
    ShowSettings(page);
    TakeCrop();
    RefreshThumbnails(page, true);
}

void ReleasePageResources() {
    g_preview.crop = {};
    ReleaseSample();
    g_pressInWheel = false;
}

void Edited(HWND page) {
    StoreToneEdit();
    RefreshThumbnails(page, false);
}

void Scrolled(HWND page, HWND bar, WPARAM wParam) {
    int thumb = 0;
    const pages::ScrollRequest request = ScrollRequestOf(wParam, thumb);
    ToneSettings& tone = WorkingTone();
    const int control = GetDlgCtrlID(bar);
    if (control == IDC_CP_SATURATION_BAR) {
        tone.saturation = pages::SaturationScrolled(tone.saturation, request, thumb);
        ShowValue(page, control, IDC_CP_SATURATION_VALUE, tone.saturation);
        Edited(page);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (kBalanceBars[i].bar != control) continue;
        tone.colorBalance[i] = static_cast<int8_t>(pages::BalanceScrolled(tone.colorBalance[i], request, thumb));
        ShowValue(page, control, kBalanceBars[i].value, tone.colorBalance[i]);
        Edited(page);
    }
}

// The wheel, drawn pixel by pixel into the frame, and the picked point as a
// small inverted ellipse.
void DrawWheel(HWND page, const DRAWITEMSTRUCT& item) {
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    if (width <= 0 || height <= 0) return;
    const colour::HueWheel wheel = Wheel(page);
    POINT origin = {0, 0};
    MapWindowPoints(item.hwndItem, page, &origin, 1);
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> pixels(rowBytes * height, 192);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &pixels[rowBytes * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            if (!colour::InsideHueWheel(wheel, origin.x + x, origin.y + y)) continue;
            const PickedColour c = colour::HueWheelColour(wheel, origin.x + x, origin.y + y);
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(item.hDC, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    const HuePoint pick = WorkingTone().circlePos;
    const int x = pick.x - origin.x;
    const int y = pick.y - origin.y;
    const int oldMode = SetROP2(item.hDC, R2_NOT);
    HGDIOBJ oldBrush = SelectObject(item.hDC, GetStockObject(NULL_BRUSH));
    Ellipse(item.hDC, x - 2, y - 2, x + 2, y + 2);
    SelectObject(item.hDC, oldBrush);
    SetROP2(item.hDC, oldMode);
}

bool InWheel(HWND page, LPARAM lParam) {
    return colour::InsideHueWheel(Wheel(page), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

// The cross hair over the wheel, the arrow elsewhere; `lParam` holds the
// pointer in page coordinates.
void ShowPointer(HWND page, LPARAM lParam) {
    SetCursor(InWheel(page, lParam) ? LoadCursorW(g_moduleInstance, L"CUR_CURSOR") : LoadCursor(nullptr, IDC_ARROW));
}

// The pointer over the page's own area, rather than the dialog class's arrow.
bool SetPointer(HWND page, LPARAM lParam) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(page, &point);
    ShowPointer(page, MAKELPARAM(point.x, point.y));
    SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
    return true;
}

// A press and a release inside the wheel pick the colour under the release.
void ButtonUp(HWND page, LPARAM lParam) {
    const bool pressed = g_pressInWheel;
    g_pressInWheel = false;
    if (!pressed || !InWheel(page, lParam)) return;
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    ToneSettings& tone = WorkingTone();
    tone.circlePos = {x, y};
    tone.pixelRGB = colour::HueWheelColour(Wheel(page), x, y);
    InvalidateRect(GetDlgItem(page, IDC_WHEEL_FRAME), nullptr, FALSE);
    Edited(page);
}

void Command(HWND page, int control) {
    switch (control) {
        case IDC_CP_PREVIEW:
            ApplyWorkingTone();
            RefreshThumbnails(page, false);
            break;
        case IDC_CP_BACK:
            KeepToneCopiesForNextPage();
            PostMessageW(GetParent(page), kShowPageMessage, IDD_PAGE_ENHANCEMENTS, 0);
            break;
        default: break;
    }
}

INT_PTR CALLBACK ColourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FillColourTexts(page);
            SetButtonPicture(page, IDC_CP_BACK, L"IDB_LARROW");
            return FALSE;
        case WM_SHOWWINDOW:
            if (lParam == 0) {
                if (wParam) PageShown(page);
                else ReleasePageResources();
            }
            return FALSE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) Command(page, LOWORD(wParam));
            return TRUE;
        case WM_HSCROLL: Scrolled(page, reinterpret_cast<HWND>(lParam), wParam); return TRUE;
        case WM_SETCURSOR: return SetPointer(page, lParam) ? TRUE : FALSE;
        case WM_MOUSEMOVE: ShowPointer(page, lParam); return TRUE;
        case WM_LBUTTONDOWN: g_pressInWheel = InWheel(page, lParam); return TRUE;
        case WM_LBUTTONUP: ButtonUp(page, lParam); return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID == IDC_WHEEL_FRAME) DrawWheel(page, item);
            else DrawThumbnail(item);
            return TRUE;
        }
        case WM_DESTROY:
            ReleasePageResources();
            ReleaseButtonPictures(page);
            return FALSE;
        default: return PaintGrey(message, wParam);
    }
}

}  // namespace

HWND CreateColourPage(HWND dialog) {
    return CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_PAGE_COLOUR), dialog, ColourPageProc, 0);
}

void RefreshColourPage(HWND page) {
    ShowSettings(page);
    RefreshThumbnails(page, false);
}

void RecropColourPage(HWND page) {
    TakeCrop();
    RefreshThumbnails(page, true);
}

void FillColourTexts(HWND page) {
    const struct {
        int control;
        int text;
    } labels[] = {{IDC_CP_BALANCE_LABEL, TXT_LABEL_COLOR_BALANCE},  {IDC_CP_CR_LABEL, TXT_BALANCE_CR},
                  {IDC_CP_MG_LABEL, TXT_BALANCE_MG},                {IDC_CP_YB_LABEL, TXT_BALANCE_YB},
                  {IDC_CP_SATURATION_LABEL, TXT_LABEL_SATURATION},  {IDC_CP_PREVIEW, TXT_LABEL_PREVIEW},
                  {IDC_THUMB_ORIGINAL_LABEL, TXT_LABEL_ORIGINAL},   {IDC_THUMB_SAMPLE_LABEL, TXT_LABEL_SAMPLE}};
    for (const auto& label : labels) SetDlgItemTextW(page, label.control, LoadText(label.text).c_str());
}

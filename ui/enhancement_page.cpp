#include "ui/enhancement_page.h"

#include <memory>
#include <new>
#include <string>

#include "device/messages.h"
#include "engine/tone_page_rules.h"
#include "imaging/histogram.h"
#include "imaging/tone_map.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/dialog_look.h"
#include "ui/main_dialog.h"
#include "ui/page_thumbnails.h"
#include "ui/picture_buttons.h"
#include "ui/prescan_sequence.h"
#include "ui/preview_window.h"
#include "ui/scroll_request.h"
#include "ui/tone_copies.h"

namespace {

constexpr UINT kScaleRepeatInterval = 210;  // ms
constexpr COLORREF kHistogramGrey = RGB(0xAA, 0xAA, 0xAA);

struct EnhancementPage {
    std::unique_ptr<tone::Histogram> histogram;  // from show to hide
    bool histogramBuilt = false;
    bool histogramShown = false;
    int scale = 1;
    bool fillingFields = false;  // the page writes the fields: not typing
};

EnhancementPage g_enh;

ToneChannel Shown() { return pages::ShownTriple(WorkingTone(), ColourPages()); }

void SetField(HWND page, int control, const std::string& text) {
    g_enh.fillingFields = true;
    SetDlgItemTextA(page, control, text.c_str());
    // The caret stays at the end, where typing goes on.
    SendDlgItemMessageW(page, control, EM_SETSEL, text.size(), text.size());
    g_enh.fillingFields = false;
}

// Fields and bars from the shown triple.
void ShowTriple(HWND page) {
    const ToneChannel c = Shown();
    SetField(page, IDC_ENH_HIGHLIGHT, std::to_string(c.highlight));
    SetField(page, IDC_ENH_SHADOW, std::to_string(c.shadow));
    SetField(page, IDC_ENH_GAMMA, tone::FormatGamma(c.gamma));
    SetScrollPos(GetDlgItem(page, IDC_ENH_HIGHLIGHT_BAR), SB_CTL, c.highlight, TRUE);
    SetScrollPos(GetDlgItem(page, IDC_ENH_SHADOW_BAR), SB_CTL, c.shadow, TRUE);
    SetScrollPos(GetDlgItem(page, IDC_ENH_GAMMA_BAR), SB_CTL, c.gamma, TRUE);
}

void RedrawCurve(HWND page) { InvalidateRect(GetDlgItem(page, IDC_ENH_CURVE), nullptr, FALSE); }

// Stores an edited triple into the channel words and shows it; the sample
// is made again when something changed. `typedControl` keeps its text.
void TakeTriple(HWND page, uint32_t triple, int typedControl) {
    const ToneChannel before = Shown();
    if (tone::TripleOf(before) == triple) return;
    tone::StoreEditedTriple(WorkingTone(), ColourPages(), triple);
    StoreToneEdit();
    const ToneChannel c = Shown();
    if (typedControl != IDC_ENH_HIGHLIGHT && c.highlight != before.highlight)
        SetField(page, IDC_ENH_HIGHLIGHT, std::to_string(c.highlight));
    if (typedControl != IDC_ENH_SHADOW && c.shadow != before.shadow)
        SetField(page, IDC_ENH_SHADOW, std::to_string(c.shadow));
    if (typedControl != IDC_ENH_GAMMA && c.gamma != before.gamma) SetField(page, IDC_ENH_GAMMA, tone::FormatGamma(c.gamma));
    SetScrollPos(GetDlgItem(page, IDC_ENH_HIGHLIGHT_BAR), SB_CTL, c.highlight, TRUE);
    SetScrollPos(GetDlgItem(page, IDC_ENH_SHADOW_BAR), SB_CTL, c.shadow, TRUE);
    SetScrollPos(GetDlgItem(page, IDC_ENH_GAMMA_BAR), SB_CTL, c.gamma, TRUE);
    RedrawCurve(page);
    RefreshThumbnails(page, false);
}

std::string FieldText(HWND page, int control) {
    char text[8] = {};
    GetDlgItemTextA(page, control, text, sizeof text);
    return text;
}

void FieldTyped(HWND page, int control) {
    if (g_enh.fillingFields) return;
    const std::string text = FieldText(page, control);
    const pages::FieldReading reading =
        control == IDC_ENH_GAMMA ? pages::ReadGammaField(text) : pages::ReadLevelField(text, control == IDC_ENH_SHADOW);
    if (reading.rewrite) SetField(page, control, *reading.rewrite);
    if (!reading.value) return;
    const uint32_t triple = tone::TripleOf(Shown());
    switch (control) {
        case IDC_ENH_HIGHLIGHT: TakeTriple(page, tone::EditHighlight(triple, *reading.value), control); break;
        case IDC_ENH_SHADOW: TakeTriple(page, tone::EditShadow(triple, *reading.value), control); break;
        default:
            TakeTriple(page, tone::MakeTriple(tone::Highlight(triple), tone::Shadow(triple), *reading.value), control);
            break;
    }
}

void Scrolled(HWND page, HWND bar, WPARAM wParam) {
    int thumb = 0;
    const pages::ScrollRequest request = ScrollRequestOf(wParam, thumb);
    const ToneChannel c = Shown();
    const pages::Levels levels = {c.highlight, c.shadow};
    pages::Levels next = levels;
    int gamma = c.gamma;
    switch (GetDlgCtrlID(bar)) {
        case IDC_ENH_HIGHLIGHT_BAR: next = pages::HighlightScrolled(levels, request, thumb); break;
        case IDC_ENH_SHADOW_BAR: next = pages::ShadowScrolled(levels, request, thumb); break;
        case IDC_ENH_GAMMA_BAR: gamma = pages::GammaScrolled(gamma, request, thumb); break;
        default: return;
    }
    TakeTriple(page, tone::MakeTriple(next.highlight, next.shadow, gamma), 0);
}

void ChannelChosen(HWND page) {
    const LRESULT line = SendDlgItemMessageW(page, IDC_ENH_CHANNEL, CB_GETCURSEL, 0, 0);
    if (line < 0) return;
    pages::ChooseChannel(WorkingTone(), static_cast<int>(line), ColourPages());
    StoreToneEdit();
    ShowTriple(page);
    RedrawCurve(page);
    RefreshThumbnails(page, false);
}

// The histogram of the crop; false without a crop or a buffer.
bool BuildPageHistogram() {
    const preview::Crop& crop = g_preview.crop;
    if (!g_enh.histogram || crop.pixels.empty()) return false;
    g_enh.histogramBuilt = tone::BuildHistogram(crop.pixels.data(), crop.pixels.size(), static_cast<int>(crop.width),
                                                static_cast<int>(crop.height), crop.rowBytes, *g_enh.histogram);
    return g_enh.histogramBuilt;
}

void EnableScaleButtons(HWND page, bool enable) {
    EnableWindow(GetDlgItem(page, IDC_ENH_PLUS), enable);
    EnableWindow(GetDlgItem(page, IDC_ENH_MINUS), enable);
    SetButtonPicture(page, IDC_ENH_PLUS, enable ? L"IDB_PLUS" : L"IDB_PLUS_DISABLE");
    SetButtonPicture(page, IDC_ENH_MINUS, enable ? L"IDB_MINUS" : L"IDB_MINUS_DISABLE");
}

void ToggleHistogram(HWND page) {
    g_enh.histogramShown = !g_enh.histogramShown && BuildPageHistogram();
    EnableScaleButtons(page, g_enh.histogramShown);
    RedrawCurve(page);
}

void StepScale(HWND page, bool up) {
    if (!g_enh.histogramShown) return;
    g_enh.scale = up ? pages::ScaleRaised(g_enh.scale) : pages::ScaleLowered(g_enh.scale);
    RedrawCurve(page);
}

// A held plus or minus steps again on every tick while the pointer stays on it.
void RepeatTick(HWND page) {
    for (int control : {IDC_ENH_PLUS, IDC_ENH_MINUS}) {
        if (SendDlgItemMessageW(page, control, BM_GETSTATE, 0, 0) & BST_PUSHED) StepScale(page, control == IDC_ENH_PLUS);
    }
}

// "Auto": the fields are typed in the order that keeps shadow below highlight.
void AutoLevelsCommand(HWND page) {
    if (!g_enh.histogramBuilt && !BuildPageHistogram()) return;
    const tone::AutoLevelsResult result =
        tone::AutoLevels(*g_enh.histogram, WorkingTone().channel, ColourPages(), Shown().shadow);
    if (!result.changed) return;
    if (result.shadowFirst) SetDlgItemInt(page, IDC_ENH_SHADOW, static_cast<UINT>(result.shadow), FALSE);
    SetDlgItemInt(page, IDC_ENH_HIGHLIGHT, static_cast<UINT>(result.highlight), FALSE);
    if (!result.shadowFirst) SetDlgItemInt(page, IDC_ENH_SHADOW, static_cast<UINT>(result.shadow), FALSE);
}

void FillChannelList(HWND page) {
    HWND list = GetDlgItem(page, IDC_ENH_CHANNEL);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const bool colour = ColourPages();
    for (int text = TXT_CHANNEL_MASTER; text <= (colour ? TXT_CHANNEL_BLUE : TXT_CHANNEL_MASTER); ++text)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(text).c_str()));
    SendMessageW(list, CB_SETCURSEL, colour ? WorkingTone().channel : 0, 0);
    EnableWindow(list, colour);
}

void ReleasePageResources(HWND page) {
    KillTimer(page, kScaleRepeatTimer);
    g_enh.histogram.reset();
    g_enh.histogramBuilt = false;
    g_enh.histogramShown = false;
    g_preview.crop = {};
    ReleaseSample();
}

// The copies taken from the live settings and shown.
void ShowSettings(HWND page) {
    TakeToneCopies();
    if (!ColourPages()) WorkingTone().channel = kToneMaster;
    FillChannelList(page);
    ShowTriple(page);
    EnableWindow(GetDlgItem(page, IDC_ENH_COLOUR_PAGE), ColourPages());
}

void PageShown(HWND page) {
    SetScrollRange(GetDlgItem(page, IDC_ENH_HIGHLIGHT_BAR), SB_CTL, 1, 255, FALSE);
    SetScrollRange(GetDlgItem(page, IDC_ENH_SHADOW_BAR), SB_CTL, 0, 254, FALSE);
    SetScrollRange(GetDlgItem(page, IDC_ENH_GAMMA_BAR), SB_CTL, tone::kMinGamma, tone::kMaxGamma, FALSE);
    for (int field : {IDC_ENH_HIGHLIGHT, IDC_ENH_SHADOW, IDC_ENH_GAMMA}) SendDlgItemMessageW(page, field, EM_LIMITTEXT, 3, 0);
    ShowSettings(page);
    TakeCrop();
    g_enh.histogram.reset(new (std::nothrow) tone::Histogram);
    if (!g_enh.histogram) ShowDeviceError(GetParent(page), MSG_INSUFFICIENT_MEMORY);
    g_enh.histogramBuilt = false;
    g_enh.histogramShown = false;
    g_enh.scale = 1;
    EnableScaleButtons(page, false);
    SetTimer(page, kScaleRepeatTimer, kScaleRepeatInterval, nullptr);
    RefreshThumbnails(page, true);
    RedrawCurve(page);
}

void PageHidden(HWND page) {
    RedrawPreview();
    ReleasePageResources(page);
    HWND focus = GetFocus();
    const bool inField = focus && (focus == GetDlgItem(page, IDC_ENH_HIGHLIGHT) ||
                                   focus == GetDlgItem(page, IDC_ENH_SHADOW) || focus == GetDlgItem(page, IDC_ENH_GAMMA));
    if (!inField) SetFocus(GetDlgItem(GetParent(page), IDC_INFO));
}

void DrawHistogram(HDC dc, const RECT& inner) {
    uint32_t counts[256];
    pages::ShownCounts(*g_enh.histogram, WorkingTone().channel, ColourPages(), counts);
    HPEN pen = CreatePen(PS_SOLID, 1, kHistogramGrey);
    HGDIOBJ old = SelectObject(dc, pen);
    const int width = inner.right - inner.left;
    const int height = inner.bottom - inner.top;
    for (const pages::HistogramBar& bar : pages::HistogramBars(counts, width, height, g_enh.scale)) {
        MoveToEx(dc, inner.left + bar.x, inner.bottom, nullptr);
        LineTo(dc, inner.left + bar.x, inner.bottom - bar.height);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

int ChannelIndexOfWord(int word) { return word == kToneMaster ? tone::kMaster : word - kToneRed; }

void DrawCurve(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& frame = item.rcItem;
    FillRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // Inner pixels: columns left+1 .. right-2, rows top+1 .. bottom-2.
    const RECT inner = {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 2};
    const int inputs = frame.right - frame.left - 2;
    const int outputs = frame.bottom - frame.top - 2;
    if (g_enh.histogramShown && g_enh.histogramBuilt) DrawHistogram(dc, inner);
    const ToneSettings& working = WorkingTone();
    std::unique_ptr<uint8_t[]> table(new (std::nothrow) uint8_t[tone::kMaxInputCount]);
    std::unique_ptr<POINT[]> points(new (std::nothrow) POINT[tone::kMaxInputCount]);
    if (!table || !points) return;
    for (const pages::CurveStroke& stroke : pages::CurveStrokes(working, ColourPages())) {
        if (!tone::BuildToneMap(tone::TripleOf(working.channels[stroke.word]), inputs, outputs, table.get(),
                                ChannelIndexOfWord(stroke.word), false, g_scanSettings.scanMode, working.colorBalance))
            continue;
        for (int i = 0; i < inputs; ++i) points[i] = {inner.left + i, inner.bottom - table[i]};
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(stroke.colour >> 16, (stroke.colour >> 8) & 0xFF, stroke.colour & 0xFF));
        HGDIOBJ old = SelectObject(dc, pen);
        Polyline(dc, points.get(), inputs);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void Command(HWND page, int control, int notification) {
    if (notification == EN_CHANGE) {
        FieldTyped(page, control);
        return;
    }
    if (control == IDC_ENH_CHANNEL) {
        if (notification == CBN_SELCHANGE) ChannelChosen(page);
        return;
    }
    if (notification != BN_CLICKED) return;
    switch (control) {
        case IDC_ENH_HISTOGRAM: ToggleHistogram(page); break;
        case IDC_ENH_PLUS: StepScale(page, true); break;
        case IDC_ENH_MINUS: StepScale(page, false); break;
        case IDC_ENH_AUTO: AutoLevelsCommand(page); break;
        case IDC_ENH_COLOUR_PAGE:
            if (!ColourPages()) break;
            KeepToneCopiesForNextPage();
            PostMessageW(GetParent(page), kShowPageMessage, IDD_PAGE_COLOUR, 0);
            break;
        case IDC_ENH_PREVIEW:
            ApplyWorkingTone();
            RefreshThumbnails(page, false);
            break;
        default: break;
    }
}

INT_PTR CALLBACK EnhancementPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FillEnhancementTexts(page);
            SendDlgItemMessageW(page, IDC_ENH_CHANNEL_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(LoadBitmapW(g_moduleInstance, L"IDB_CHANNEL")));
            SetButtonPicture(page, IDC_ENH_COLOUR_PAGE, L"IDB_RARROW");
            SetButtonPicture(page, IDC_ENH_HISTOGRAM, L"IDB_HISTOGRAM");
            SetButtonPicture(page, IDC_ENH_AUTO, L"IDB_AUTO");
            EnableScaleButtons(page, false);
            return FALSE;
        case WM_SHOWWINDOW:
            if (lParam == 0) {
                if (wParam) PageShown(page);
                else PageHidden(page);
            }
            return FALSE;
        case WM_COMMAND: Command(page, LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_HSCROLL: Scrolled(page, reinterpret_cast<HWND>(lParam), wParam); return TRUE;
        case WM_TIMER:
            if (wParam == kScaleRepeatTimer) RepeatTick(page);
            return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID == IDC_ENH_CURVE) DrawCurve(item);
            else DrawThumbnail(item);
            return TRUE;
        }
        case WM_DESTROY: {
            ReleasePageResources(page);
            ReleaseButtonPictures(page);
            HANDLE picture = reinterpret_cast<HANDLE>(
                SendDlgItemMessageW(page, IDC_ENH_CHANNEL_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0));
            if (picture) DeleteObject(picture);
            return FALSE;
        }
        default: return PaintGrey(message, wParam);
    }
}

}  // namespace

HWND CreateEnhancementPage(HWND dialog) {
    return CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_PAGE_ENHANCEMENTS), dialog, EnhancementPageProc, 0);
}

void RefreshEnhancementPage(HWND page) {
    ShowSettings(page);
    RedrawCurve(page);
    RefreshThumbnails(page, false);
}

void RecropEnhancementPage(HWND page) {
    TakeCrop();
    g_enh.histogramBuilt = false;
    if (g_enh.histogramShown && !BuildPageHistogram()) {
        g_enh.histogramShown = false;
        EnableScaleButtons(page, false);
    }
    RefreshThumbnails(page, true);
    RedrawCurve(page);
}

void FillEnhancementTexts(HWND page) {
    const struct {
        int control;
        int text;
    } labels[] = {{IDC_ENH_CHANNEL_LABEL, TXT_LABEL_CHANNEL}, {IDC_ENH_HIGHLIGHT_LABEL, TXT_LABEL_HIGHLIGHT},
                  {IDC_ENH_SHADOW_LABEL, TXT_LABEL_SHADOW},   {IDC_ENH_GAMMA_LABEL, TXT_LABEL_GAMMA},
                  {IDC_ENH_PREVIEW, TXT_LABEL_PREVIEW},       {IDC_THUMB_ORIGINAL_LABEL, TXT_LABEL_ORIGINAL},
                  {IDC_THUMB_SAMPLE_LABEL, TXT_LABEL_SAMPLE}};
    for (const auto& label : labels) SetDlgItemTextW(page, label.control, LoadText(label.text).c_str());
    if (IsWindowVisible(page)) FillChannelList(page);
}

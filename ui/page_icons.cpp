#include "ui/page_icons.h"

#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192);

void Ellipse(HDC dc, COLORREF fill, int left, int top, int right, int bottom) {
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ previous = SelectObject(dc, brush);
    ::Ellipse(dc, left, top, right, bottom);
    SelectObject(dc, previous);
    DeleteObject(brush);
}

// Three overlapping discs of the primaries.
void DrawCalibrator(HDC dc, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top, d = w * 3 / 5;
    Ellipse(dc, RGB(255, 0, 0), r.left, r.top, r.left + d, r.top + d);
    Ellipse(dc, RGB(0, 192, 0), r.right - d, r.top, r.right, r.top + d);
    Ellipse(dc, RGB(0, 0, 255), r.left + (w - d) / 2, r.bottom - d, r.left + (w + d) / 2, r.top + h);
}

// A globe: its outline, the equator and a meridian.
void DrawLanguage(HDC dc, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    Ellipse(dc, RGB(128, 192, 255), r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_BRUSH));
    ::Ellipse(dc, r.left + w / 3, r.top + 1, r.right - w / 3, r.bottom - 1);
    SelectObject(dc, previous);
    MoveToEx(dc, r.left + 1, r.top + h / 2, nullptr);
    LineTo(dc, r.right - 1, r.top + h / 2);
}

// A bulb on its base.
void DrawLamp(HDC dc, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    Ellipse(dc, RGB(255, 255, 0), r.left + w / 5, r.top, r.right - w / 5, r.top + h * 2 / 3);
    RECT base{r.left + w * 2 / 5, r.top + h * 2 / 3, r.right - w * 2 / 5, r.bottom};
    HBRUSH grey = CreateSolidBrush(RGB(96, 96, 96));
    FillRect(dc, &base, grey);
    DeleteObject(grey);
}

}  // namespace

void DrawPageIcon(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    HBRUSH background = CreateSolidBrush(kGrey);
    FillRect(dc, &item.rcItem, background);
    DeleteObject(background);
    RECT inner = item.rcItem;
    InflateRect(&inner, -2, -2);
    switch (item.CtlID) {
        case IDC_MP_CALIBRATOR_ICON: DrawCalibrator(dc, inner); break;
        case IDC_MP_LANGUAGE_ICON: DrawLanguage(dc, inner); break;
        case IDC_MP_LAMP_ICON: DrawLamp(dc, inner); break;
        default: break;
    }
}

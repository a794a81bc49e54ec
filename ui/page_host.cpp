#include "ui/page_host.h"

#include <string>

#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "ui/about_page.h"
#include "ui/colour_page.h"
#include "ui/dialog_look.h"
#include "ui/enhancement_page.h"
#include "ui/filters_page.h"
#include "ui/main_page.h"
#include "ui/preview_window.h"

namespace {

struct Page {
    int templateId;
    int tabTemplate;  // the page whose tab is selected while this one shows
    HWND window;
};

Page g_pages[] = {
    {IDD_MAIN_PAGE, IDD_MAIN_PAGE, nullptr},
    {IDD_PAGE_ABOUT, IDD_PAGE_ABOUT, nullptr},
    {IDD_PAGE_ENHANCEMENTS, IDD_PAGE_ENHANCEMENTS, nullptr},
    {IDD_PAGE_COLOUR, IDD_PAGE_ENHANCEMENTS, nullptr},  // reached from the enhancement page
    {IDD_PAGE_FILTERS, IDD_PAGE_FILTERS, nullptr},
};

int g_shownPage = 0;

struct Tab {
    int textNumber;
    int page;  // template of the page it shows; 0: no page yet
};

const Tab kTabs[] = {
    {TXT_TAB_MAIN, IDD_MAIN_PAGE},
    {TXT_TAB_PREFERENCES, 0},
    {TXT_INFO, 0},
    {TXT_TAB_ENHANCEMENTS, IDD_PAGE_ENHANCEMENTS},
    {TXT_TAB_FILTERS, IDD_PAGE_FILTERS},
    {TXT_TAB_ABOUT, IDD_PAGE_ABOUT},
};

Page* FindPage(int templateId) {
    for (Page& page : g_pages) {
        if (page.templateId == templateId) return &page;
    }
    return nullptr;
}

bool TabShown(const Tab& tab) {
    const Page* page = FindPage(tab.page);
    return page && page->window;
}

int ShownTabCount() {
    int count = 0;
    for (const Tab& tab : kTabs) count += TabShown(tab) ? 1 : 0;
    return count;
}

HWND CreatePage(HWND dialog, int templateId) {
    switch (templateId) {
        case IDD_MAIN_PAGE: return CreateMainPage(dialog);
        case IDD_PAGE_ABOUT: return CreateAboutPage(dialog);
        case IDD_PAGE_ENHANCEMENTS: return CreateEnhancementPage(dialog);
        case IDD_PAGE_COLOUR: return CreateColourPage(dialog);
        case IDD_PAGE_FILTERS: return CreateFiltersPage(dialog);
        default: return nullptr;
    }
}

// The area the pages fill: inside the frame under the tab strip.
RECT PageArea(HWND dialog) {
    RECT area;
    GetWindowRect(GetDlgItem(dialog, IDC_PAGE_AREA), &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    InflateRect(&area, -2, -2);
    return area;
}

RECT TabRect(const RECT& strip, int index, int count) {
    const int width = strip.right - strip.left;
    return {strip.left + index * width / count, strip.top, strip.left + (index + 1) * width / count, strip.bottom};
}

}  // namespace

void CreatePages(HWND dialog) {
    const RECT area = PageArea(dialog);
    for (Page& page : g_pages) {
        page.window = CreatePage(dialog, page.templateId);
        if (!page.window) continue;
        // The template number names the page among the dialog's children.
        SetWindowLongPtrW(page.window, GWLP_ID, page.templateId);
        SetWindowPos(page.window, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
    }
    ShowPage(dialog, IDD_MAIN_PAGE);
}

void DestroyPages() {
    for (Page& page : g_pages) {
        if (page.window) DestroyWindow(page.window);
        page.window = nullptr;
    }
    g_shownPage = 0;
}

void ShowPage(HWND dialog, int templateId) {
    const Page* shown = FindPage(templateId);
    if (!shown || !shown->window) return;
    for (const Page& page : g_pages) {
        if (page.window && &page != shown) ShowWindow(page.window, SW_HIDE);
    }
    ShowWindow(shown->window, SW_SHOW);
    g_shownPage = templateId;
    InvalidateRect(GetDlgItem(dialog, IDC_TABSTRIP), nullptr, TRUE);
}

void RefreshPages() {
    if (HWND main = FindPage(IDD_MAIN_PAGE)->window) {
        RefreshMainPage(main);
        UpdateScanAreaFigures(main);
    }
    AdaptPagesToScanMode(false);
    HWND enhancements = FindPage(IDD_PAGE_ENHANCEMENTS)->window;
    HWND colour = FindPage(IDD_PAGE_COLOUR)->window;
    if (enhancements && IsWindowVisible(enhancements)) RefreshEnhancementPage(enhancements);
    if (colour && IsWindowVisible(colour)) RefreshColourPage(colour);
    RefreshPreviewControls();
}

void RecropPages() {
    HWND enhancements = FindPage(IDD_PAGE_ENHANCEMENTS)->window;
    HWND colour = FindPage(IDD_PAGE_COLOUR)->window;
    if (enhancements && IsWindowVisible(enhancements)) RecropEnhancementPage(enhancements);
    if (colour && IsWindowVisible(colour)) RecropColourPage(colour);
}

void AdaptPagesToScanMode(bool modeChosen) {
    if (HWND filters = FindPage(IDD_PAGE_FILTERS)->window) AdaptFiltersToMode(filters, modeChosen);
}

void RetranslatePages(HWND dialog) {
    if (HWND about = FindPage(IDD_PAGE_ABOUT)->window) FillAboutPage(about);
    if (HWND page = FindPage(IDD_PAGE_ENHANCEMENTS)->window) FillEnhancementTexts(page);
    if (HWND page = FindPage(IDD_PAGE_COLOUR)->window) FillColourTexts(page);
    if (HWND page = FindPage(IDD_PAGE_FILTERS)->window) FillFiltersTexts(page);
    InvalidateRect(GetDlgItem(dialog, IDC_TABSTRIP), nullptr, TRUE);
}

int PageNumberOf(HWND dialog, HWND window) {
    if (window == dialog) return 0;
    for (const Page& page : g_pages) {
        if (page.window && page.window == window) return page.templateId;
    }
    return -1;
}

void DrawTabStrip(HWND dialog, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    const int count = ShownTabCount();
    if (count == 0) return;
    const Page* shown = FindPage(g_shownPage);
    const int selectedPage = shown ? shown->tabTemplate : 0;
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    int index = 0;
    for (const Tab& tab : kTabs) {
        if (!TabShown(tab)) continue;
        RECT rect = TabRect(item.rcItem, index++, count);
        const bool selected = tab.page == selectedPage;
        if (!selected) rect.top += 2;
        DrawEdge(dc, &rect, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | (selected ? 0 : BF_BOTTOM));
        const std::wstring name = LoadText(tab.textNumber);
        DrawTextW(dc, name.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
}

bool ClickTabStrip(HWND dialog, POINT clientPoint) {
    RECT strip;
    GetWindowRect(GetDlgItem(dialog, IDC_TABSTRIP), &strip);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&strip), 2);
    if (!PtInRect(&strip, clientPoint)) return false;
    const int count = ShownTabCount();
    int index = 0;
    for (const Tab& tab : kTabs) {
        if (!TabShown(tab)) continue;
        const RECT rect = TabRect(strip, index++, count);
        if (PtInRect(&rect, clientPoint)) ShowPage(dialog, tab.page);
    }
    return true;
}

#include "ui/context_help.h"

#include "profile/language.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "resources/resource_ids.h"
#include "session/session.h"

namespace {

struct HelpState {
    bool active = false;
    HCURSOR previousCursor = nullptr;
};

HelpState g_help;

struct HelpTopic {
    int page;
    int control;
    unsigned context;
};

// The topics of the help files, by the control they explain.
const HelpTopic kTopics[] = {
    {0, IDC_SCAN, 1001},     {0, IDC_PRESCAN, 1002}, {0, IDC_CANCEL_SCAN, 1003}, {0, IDC_TABSTRIP, 1004},
    {0, IDC_INFO, 1005},     {0, IDC_LOAD, 1006},    {0, IDC_SAVE, 1007},        {0, IDC_PREVIOUS, 1008},
    {0, IDC_RESET, 1009},    {0, IDC_QUICKHELP, 1010},
};

}  // namespace

std::string HelpFileFor(int languageIndex) {
    static const char kLetters[] = "UDFIEN";
    const char letter = languageIndex >= 0 && languageIndex < 6 ? kLetters[languageIndex] : 'U';
    return InstallDirectory() + "\\CSHLP_" + letter + ".HLP";
}

unsigned HelpContextFor(int page, int control) {
    for (const HelpTopic& topic : kTopics) {
        if (topic.page == page && topic.control == control) return topic.context;
    }
    return 0;
}

void DrawQuickHelpButton(const DRAWITEMSTRUCT& item) {
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) || g_help.active;
    FillRect(item.hDC, &rect, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    HBITMAP bitmap = LoadBitmapW(g_moduleInstance, L"IDB_QUICKHELP");
    if (!bitmap) return;
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const int shift = pressed ? 1 : 0;
    const int x = (rect.left + rect.right - size.bmWidth) / 2 + shift;
    const int y = (rect.top + rect.bottom - size.bmHeight) / 2 + shift;
    BitBlt(item.hDC, x, y, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

void EnterHelpMode(HWND dialog) {
    g_help.active = true;
    g_help.previousCursor = SetCursor(LoadCursorW(g_moduleInstance, L"IDC_SENSIHELP"));
    SetCapture(dialog);
    InvalidateRect(GetDlgItem(dialog, IDC_QUICKHELP), nullptr, TRUE);
}

bool InHelpMode() { return g_help.active; }

void KeepHelpCursor() { SetCursor(LoadCursorW(g_moduleInstance, L"IDC_SENSIHELP")); }

void LeaveHelpMode(HWND dialog) {
    if (!g_help.active) return;
    g_help.active = false;
    SetCursor(g_help.previousCursor ? g_help.previousCursor : LoadCursorA(nullptr, IDC_ARROW));
    ReleaseCapture();
    InvalidateRect(GetDlgItem(dialog, IDC_QUICKHELP), nullptr, TRUE);
}

void HelpModeClick(HWND dialog, POINT clientPoint, int (*pageOf)(HWND)) {
    POINT screen = clientPoint;
    ClientToScreen(dialog, &screen);
    LeaveHelpMode(dialog);
    unsigned context = 0;
    if (HWND under = WindowFromPoint(screen)) {
        // Statics let the click through to their parent: ask the parent which
        // of its children lies there.
        HWND parent = GetParent(under) && pageOf(under) < 0 ? GetParent(under) : under;
        POINT inParent = screen;
        ScreenToClient(parent, &inParent);
        HWND control = ChildWindowFromPointEx(parent, inParent, CWP_SKIPINVISIBLE);
        const int page = pageOf(parent);
        if (control && control != parent && page >= 0) context = HelpContextFor(page, GetDlgCtrlID(control));
    }
    const std::string file = HelpFileFor(g_language.index);
    if (context)
        WinHelpA(dialog, file.c_str(), HELP_CONTEXTPOPUP, context);
    else
        WinHelpA(dialog, file.c_str(), HELP_CONTENTS, 0);
}

// The tool tip window of the main dialog's icons: its class, text, place and
// colour, one tip at a time, and its close when the mouse moves over it.
#include <windows.h>

#include <gtest/gtest.h>

#include "twain/session.h"
#include "ui/tool_tip.h"

namespace {

TEST(ToolTip, ShowsItsTextOnLightYellowOneAtATimeAndClosesUnderTheMouse) {
    g_twain.instance = GetModuleHandleW(nullptr);
    RegisterToolTipClass();
    RegisterToolTipClass();  // the dialog opened a second time
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);

    HWND tip = ShowToolTip(owner, L"Color Calibrator", {40, 50});
    ASSERT_NE(tip, nullptr);
    wchar_t text[64] = {};
    GetClassNameW(tip, text, 64);
    EXPECT_STREQ(text, L"Tooltips Class");
    GetWindowTextW(tip, text, 64);
    EXPECT_STREQ(text, L"Color Calibrator");
    EXPECT_TRUE(IsWindowVisible(tip));
    RECT place;
    GetWindowRect(tip, &place);
    EXPECT_EQ(place.left, 40);
    EXPECT_EQ(place.top, 50);
    UpdateWindow(tip);
    RECT client;
    GetClientRect(tip, &client);
    HDC dc = GetDC(tip);
    EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), RGB(255, 255, 128));
    ReleaseDC(tip, dc);

    HWND second = ShowToolTip(owner, L"Language", {10, 10});
    EXPECT_FALSE(IsWindow(tip));
    ASSERT_TRUE(IsWindow(second));
    SendMessageW(second, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_FALSE(IsWindow(second));

    HWND third = ShowToolTip(owner, L"Green Saver", {10, 10});
    CloseToolTip();
    EXPECT_FALSE(IsWindow(third));
    CloseToolTip();  // nothing left to close
    DestroyWindow(owner);
}

}  // namespace

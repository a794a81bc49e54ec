// MessageBoxRecorder: boxes shown on this thread are recorded and answered;
// other dialogs are recorded when they are destroyed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "hostkit/msgbox_recorder.h"

namespace {

TEST(MessageBoxRecorderTest, RecordsCaptionTextAndIconOfEveryBox) {
    const UINT icons[] = {MB_ICONINFORMATION, MB_ICONSTOP, MB_ICONWARNING, MB_ICONQUESTION, 0};
    MessageBoxRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    for (UINT icon : icons) {
        EXPECT_EQ(MessageBoxW(nullptr, L"Caf\u00e9 \u4e2d\u6587", L"\u00dcberschrift", MB_OK | icon), IDOK);
    }
    recorder.Stop();
    ASSERT_EQ(recorder.boxes.size(), 5u);
    for (size_t i = 0; i < recorder.boxes.size(); ++i) {
        EXPECT_EQ(recorder.boxes[i].caption, "\xc3\x9c" "berschrift");
        EXPECT_EQ(recorder.boxes[i].text, "Caf\xc3\xa9 \xe4\xb8\xad\xe6\x96\x87");
        EXPECT_EQ(recorder.boxes[i].icon, icons[i]) << "box " << i;
        EXPECT_EQ(recorder.boxes[i].answer, IDOK);
    }
    EXPECT_TRUE(recorder.dialogs.empty());  // boxes are not counted as dialogs too
}

TEST(MessageBoxRecorderTest, AnswersWithTheQueuedAnswersThenTheDefault) {
    MessageBoxRecorder recorder;
    recorder.answers = {IDYES, IDCANCEL};
    ASSERT_TRUE(recorder.Start(IDNO));
    EXPECT_EQ(MessageBoxW(nullptr, L"one", L"t", MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"two", L"t", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"three", L"t", MB_YESNOCANCEL), IDNO);
    // No "No" button: the box's first button answers.
    EXPECT_EQ(MessageBoxW(nullptr, L"four", L"t", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDABORT);
    recorder.Stop();
    ASSERT_EQ(recorder.boxes.size(), 4u);
    EXPECT_EQ(recorder.boxes[2].text, "three");
    EXPECT_EQ(recorder.boxes[3].answer, IDABORT);
}

TEST(MessageBoxRecorderTest, RecordsABoxWithAnOwnerAndOnlyOneRecorderPerThread) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    MessageBoxRecorder recorder;
    MessageBoxRecorder another;
    ASSERT_TRUE(recorder.Start());
    EXPECT_FALSE(another.Start());
    EXPECT_EQ(MessageBoxW(owner, L"owned", L"c", MB_OK | MB_ICONSTOP), IDOK);
    recorder.Stop();
    DestroyWindow(owner);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONSTOP));
    EXPECT_TRUE(another.Start());
}

// An in-memory dialog template: a title and controls of class static (0x82)
// or button (0x80), in this order.
struct Control {
    WORD classAtom;
    WORD id;
    const wchar_t* text;
};

void AppendText(std::vector<WORD>& words, const wchar_t* text) {
    for (; *text; ++text) words.push_back(static_cast<WORD>(*text));
    words.push_back(0);
}

void AppendDword(std::vector<WORD>& words, DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

std::vector<WORD> DialogTemplate(const wchar_t* title, const std::vector<Control>& controls) {
    std::vector<WORD> words;
    AppendDword(words, WS_POPUP | WS_CAPTION);
    AppendDword(words, 0);
    words.push_back(static_cast<WORD>(controls.size()));
    for (WORD value : {10, 10, 200, 80}) words.push_back(value);
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    AppendText(words, title);
    short y = 5;
    for (const Control& control : controls) {
        if (words.size() % 2) words.push_back(0);  // items are DWORD aligned
        AppendDword(words, WS_CHILD | WS_VISIBLE);
        AppendDword(words, 0);
        for (short value : {short(5), y, short(150), short(12)}) words.push_back(static_cast<WORD>(value));
        words.push_back(control.id);
        words.push_back(0xFFFF);
        words.push_back(control.classAtom);
        AppendText(words, control.text);
        words.push_back(0);  // no creation data
        y = static_cast<short>(y + 15);
    }
    return words;
}

INT_PTR CALLBACK NoticeProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

HWND MakeNotice() {
    std::vector<WORD> words = DialogTemplate(L"Notice \u00e9", {{0x82, 0xFFFF, L"The scanner is not ready."},
                                                                 {0x82, 101, L""},
                                                                 {0x82, 102, L"Please wait."},
                                                                 {0x80, IDOK, L"OK"}});
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                      nullptr, NoticeProc, 0);
}

TEST(MessageBoxRecorderTest, RecordsOtherDialogsWhenTheyAreDestroyed) {
    MessageBoxRecorder recorder;
    HWND before = MakeNotice();
    ASSERT_NE(before, nullptr);
    ASSERT_TRUE(recorder.Start());
    HWND notice = MakeNotice();
    ASSERT_NE(notice, nullptr);
    ShowWindow(notice, SW_SHOW);  // activated, yet it is not a message box: left alone
    EXPECT_TRUE(IsWindow(notice));
    DestroyWindow(notice);
    recorder.Stop();
    DestroyWindow(before);  // after Stop: not recorded

    EXPECT_TRUE(recorder.boxes.empty());
    ASSERT_EQ(recorder.dialogs.size(), 1u);
    EXPECT_EQ(recorder.dialogs[0].title, "Notice \xc3\xa9");
    EXPECT_EQ(recorder.dialogs[0].texts,
              (std::vector<std::string>{"The scanner is not ready.", "Please wait.", "OK"}));
}

}  // namespace

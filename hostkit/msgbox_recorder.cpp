#include "hostkit/msgbox_recorder.h"

#include <algorithm>

namespace {

// Id of a message box's icon static: Wine's template, and Windows.
constexpr int kWineIconId = 0x440;
constexpr int kWindowsIconId = 0x14;
constexpr int kTextId = 0xFFFF;

thread_local MessageBoxRecorder* activeRecorder = nullptr;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], length + 1));
    return Utf8(text);
}

bool IsDialogWindow(HWND window) {
    wchar_t className[16];
    return GetClassNameW(window, className, 16) && wcscmp(className, L"#32770") == 0;
}

HWND IconStatic(HWND box) {
    for (int id : {kWineIconId, kWindowsIconId}) {
        HWND item = GetDlgItem(box, id);
        if (item && (GetWindowLongW(item, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return item;
    }
    return nullptr;
}

bool IsMessageBox(HWND window) {
    return IsDialogWindow(window) && GetDlgItem(window, kTextId) && IconStatic(window);
}

UINT IconKind(HWND box) {
    HICON icon = reinterpret_cast<HICON>(SendMessageW(IconStatic(box), STM_GETICON, 0, 0));
    if (!icon) return 0;
    const struct {
        LPCSTR systemIcon;
        UINT kind;
    } kinds[] = {{IDI_ASTERISK, MB_ICONINFORMATION},
                 {IDI_HAND, MB_ICONSTOP},
                 {IDI_EXCLAMATION, MB_ICONWARNING},
                 {IDI_QUESTION, MB_ICONQUESTION}};
    for (const auto& kind : kinds) {
        if (icon == LoadIconA(nullptr, kind.systemIcon)) return kind.kind;
    }
    return MB_USERICON;
}

int ChooseAnswer(MessageBoxRecorder& recorder, HWND box) {
    int answer = recorder.defaultAnswer;
    if (!recorder.answers.empty()) {
        answer = recorder.answers.front();
        recorder.answers.pop_front();
    }
    if (GetDlgItem(box, answer)) return answer;
    // Wine's box does not report its default button while it is being
    // activated (DM_GETDEFID still names IDOK), so the first button answers.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16];
        if (GetClassNameW(child, className, 16) && _wcsicmp(className, L"Button") == 0) return GetDlgCtrlID(child);
    }
    return IDCANCEL;
}

void AnswerBox(MessageBoxRecorder& recorder, HWND box) {
    int answer = ChooseAnswer(recorder, box);
    recorder.boxes.push_back(RecordedBox{WindowText(box), WindowText(GetDlgItem(box, kTextId)), IconKind(box), answer});
    recorder.answeredBoxes.push_back(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

void RecordDialog(MessageBoxRecorder& recorder, HWND dialog) {
    RecordedDialog record{WindowText(dialog), {}};
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text = WindowText(child);
        if (!text.empty()) record.texts.push_back(text);
    }
    recorder.dialogs.push_back(record);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    MessageBoxRecorder* recorder = activeRecorder;
    HWND window = reinterpret_cast<HWND>(wParam);
    if (recorder && code == HCBT_ACTIVATE && IsMessageBox(window)) {
        auto& answered = recorder->answeredBoxes;
        if (std::find(answered.begin(), answered.end(), window) == answered.end()) AnswerBox(*recorder, window);
    } else if (recorder && code == HCBT_DESTROYWND && IsDialogWindow(window)) {
        auto& answered = recorder->answeredBoxes;
        auto found = std::find(answered.begin(), answered.end(), window);
        if (found != answered.end()) {
            answered.erase(found);
            // Wine activates a system-modal box before its text is set: the
            // text is read again as the box closes.
            const std::string text = WindowText(GetDlgItem(window, kTextId));
            for (auto box = recorder->boxes.rbegin(); box != recorder->boxes.rend(); ++box) {
                if (!box->text.empty()) continue;
                box->text = text;
                break;
            }
        } else if (!IsMessageBox(window)) {
            RecordDialog(*recorder, window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool MessageBoxRecorder::Start(int answer) {
    if (activeRecorder) return false;
    hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (!hook) return false;
    defaultAnswer = answer;
    activeRecorder = this;
    return true;
}

void MessageBoxRecorder::Stop() {
    if (!hook) return;
    UnhookWindowsHookEx(hook);
    hook = nullptr;
    activeRecorder = nullptr;
    answeredBoxes.clear();
}

MessageBoxRecorder::~MessageBoxRecorder() {
    Stop();
}

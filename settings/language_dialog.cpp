#include <vector>

#include "profile/language.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_dialogs.h"

namespace {

std::vector<LanguageChoice>& Choices(HWND dialog) {
    return *reinterpret_cast<std::vector<LanguageChoice>*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void InitDialog(HWND dialog, std::vector<LanguageChoice>& choices) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&choices));
    SetWindowTextW(dialog, LoadText(TXT_LANGUAGE_SELECTION).c_str());
    SetDlgItemTextW(dialog, IDC_LANGUAGE_OK, LoadText(TXT_OK).c_str());
    SetDlgItemTextW(dialog, IDC_LANGUAGE_CANCEL, LoadText(TXT_CANCEL).c_str());

    const std::string dsLanguage = ReadProfileText(kInstallSection, "DSLANGUAGE", "None", 34);
    choices = LanguageChoicesFor(dsLanguage);
    for (const LanguageChoice& choice : choices)
        SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(LoadText(choice.textNumber).c_str()));
    SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_SETCURSEL,
                        static_cast<WPARAM>(InitialLanguageLine(dsLanguage, g_language.index)), 0);
}

// The language changes with the selection, before OK.
void SelectionChanged(HWND dialog) {
    const LRESULT line = SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0);
    const std::vector<LanguageChoice>& choices = Choices(dialog);
    if (line >= 0 && static_cast<size_t>(line) < choices.size()) g_language.index = choices[line].languageIndex;
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog, *reinterpret_cast<std::vector<LanguageChoice>*>(lParam));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_LANGUAGE_LIST:
                    if (HIWORD(wParam) == LBN_SELCHANGE) SelectionChanged(dialog);
                    return TRUE;
                case IDOK:
                case IDC_LANGUAGE_OK:
                    WriteProfileText(kInstallSection, "LANGUAGE", LanguageNameFor(g_language.index));
                    EndDialog(dialog, 1);
                    return TRUE;
                case IDCANCEL:
                case IDC_LANGUAGE_CANCEL:
                    EndDialog(dialog, 0);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

int RunLanguageDialog(HWND owner) {
    std::vector<LanguageChoice> choices;
    return DialogBoxParamW(g_moduleInstance, L"LANGUAGEDLG", owner, LanguageDialogProc,
                           reinterpret_cast<LPARAM>(&choices)) == 1;
}

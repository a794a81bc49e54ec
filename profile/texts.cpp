#include "profile/texts.h"

#include <windows.h>

#include "profile/language.h"
#include "profile/module_instance.h"

std::wstring LoadTextAbsolute(int id) {
    wchar_t text[256] = {};
    LoadStringW(g_moduleInstance, static_cast<UINT>(id), text, 256);
    return text;
}

std::wstring LoadText(int number) { return LoadTextAbsolute(LanguageBase() + number); }

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                        nullptr, nullptr);
    return narrow;
}

std::string LoadTextA(int number) { return Narrow(LoadText(number)); }

std::string LoadTextAbsoluteA(int id) { return Narrow(LoadTextAbsolute(id)); }

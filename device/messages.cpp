#include "device/messages.h"

#include <cstring>

#include "device/byte_amount.h"
#include "device/device.h"
#include "device/dialog_link.h"
#include "device/inquiry.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"

namespace {

const wchar_t kModelCaption[] = L"A3 Flatbed Scanner";

// Brand followed by a blank only for the "Tellaris" brand.
std::wstring BrandWithSeparator() {
    std::string brand = BrandText();
    return Widen(brand) + (IsTellarisBrand(brand) ? L" " : L"");
}

// Brand always followed by a blank, as the memory and buffer captions have it.
std::wstring BrandAndModel() { return Widen(BrandText()) + L" " + kModelCaption; }

}  // namespace

void ShowMessage(HWND owner, const std::wstring& text) {
    std::wstring caption = BrandWithSeparator() + Widen(ModelDisplayText());
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK);
}

void ShowDeviceError(HWND owner, int number) {
    if (number == MSG_NOT_READY || number == MSG_NOT_FOUND) {
        std::wstring text = LoadText(MSG_CHECKLIST_1) + LoadText(MSG_CHECKLIST_2) + LoadText(MSG_CHECKLIST_3) +
                            LoadText(MSG_CHECKLIST_4);
        std::wstring caption = BrandWithSeparator() + LoadText(number);
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    } else {
        std::wstring caption = BrandWithSeparator() + kModelCaption;
        MessageBoxW(owner, LoadText(number).c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    }
    g_dialogLink.endOfScan();
}

void ShowDiskShortage(HWND owner, uint64_t available, uint64_t required) {
    std::wstring text = LoadText(MSG_DISK_NEEDS) + Widen(FormatByteAmount(required)) + LoadText(MSG_DISK_HAS_ONLY) +
                        Widen(FormatByteAmount(available)) + LoadText(MSG_DISK_FREE_UP);
    MessageBoxW(owner, text.c_str(), BrandAndModel().c_str(), MB_OK | MB_ICONINFORMATION);
    g_dialogLink.endOfScan();
}

void ShowBufferShortage(HWND owner) {
    std::wstring text = LoadText(MSG_BUFFER_1) + LoadText(MSG_BUFFER_2) + LoadText(MSG_BUFFER_3);
    MessageBoxW(owner, text.c_str(), BrandAndModel().c_str(), MB_OK | MB_ICONINFORMATION);
    g_dialogLink.endOfScan();
}

void ShowRemoteLost() {
    ShowMessage(nullptr, LoadText(MSG_REMOTE_LOST_1) + L"\n" + LoadText(MSG_REMOTE_LOST_2));
    g_dialogLink.endOfScan();
}

void ModelName(char* dest) {
    const char* name = ModelNameFor(g_device.opticalResolution);
    if (*name) lstrcpynA(dest, name, 67);
}

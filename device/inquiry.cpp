#include "device/inquiry.h"

#include <cstring>

#include "device/request_blocks.h"

void ClearInquiryIdentity(uint8_t* inquiry) {
    std::memset(inquiry + blocks::inquiry::kIdentity, 0, blocks::inquiry::kIdentityLength);
}

uint16_t OpticalResolutionFromCode(const uint8_t* inquiry) {
    const uint8_t* code = inquiry + blocks::inquiry::kResolutionCode;
    int i = 0;
    while (i < 4 && code[i] == ' ') ++i;
    unsigned value = 0;
    for (; i < 4 && code[i] >= '0' && code[i] <= '9'; ++i) value = value * 10 + (code[i] - '0');
    switch (value) {
        case 600:
        case 606:
        case 800:
        case 1200:
            return static_cast<uint16_t>(value);
        // The model-number form of the same scanners.
        case 6000:
            return 600;
        case 6060:
            return 606;
        case 8000:
            return 800;
        default:
            return 0;
    }
}

bool IsLetterModel(const uint8_t* inquiry) {
    return std::memcmp(inquiry + blocks::inquiry::kModelPrefix, "KVC-", 4) == 0;
}

MaxArea MaxAreaFor(bool letterModel) {
    return letterModel ? MaxArea{8.5f, 11.5f} : MaxArea{11.7f, 17.0f};
}

std::string BuildVersionText(const uint8_t* inquiry, const std::string& cardText) {
    std::string text = "1";
    text += static_cast<char>(inquiry[blocks::inquiry::kRevision]);
    text += static_cast<char>(inquiry[blocks::inquiry::kRevision2]);
    text += static_cast<char>(inquiry[blocks::inquiry::kRevision2 + 1]);
    text += inquiry[blocks::inquiry::kFlag] == 1 ? "1" : "0";
    text += std::string("kvsc_a3.ds", 9);
    text += "\n" + cardText + "\n";
    return text;
}

std::string FirmwareRevisionText(const uint8_t* inquiry) {
    std::string text;
    for (size_t i = 0; i < 4; ++i) {
        const uint8_t c = inquiry[blocks::inquiry::kRevision + i];
        if (c >= 0x20 && c < 0x7F) text += static_cast<char>(c);
    }
    return text;
}

const char* ModelNameFor(uint16_t opticalResolution) {
    switch (opticalResolution) {
        case 600:
            return "KVS-T60PRO";
        case 606:
            return "KVS-T66S";
        case 800:
            return "KVS-T80PRO";
        case 1200:
            return "A3 SCANNER";
        default:
            return "";
    }
}

int StatusMessageNumber(uint16_t status) {
    switch (status) {
        case blocks::kPaperJam:
            return 620;
        case blocks::kNoPaper:
            return 621;
        case blocks::kCoverOpen:
            return 622;
        default:
            return 608;
    }
}

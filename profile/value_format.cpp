#include "profile/value_format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

int32_t ParseDecimal(const std::string& text) {
    constexpr int64_t kLimit = int64_t{1} << 31;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value >= kLimit ? kLimit - 1 : value);
}

std::string CutToBuffer(const std::string& text, size_t buffer) {
    return text.substr(0, buffer == 0 ? 0 : buffer - 1);
}

std::string FormatFields(const std::vector<int32_t>& values, int width) {
    std::string text;
    for (int32_t value : values) {
        char field[24];
        std::snprintf(field, sizeof field, "%-*d", width, static_cast<int>(value));
        text += field;
    }
    return text;
}

int32_t FieldAt(const std::string& text, size_t index, size_t stride, size_t width) {
    const size_t start = index * stride;
    if (start >= text.size()) return 0;
    return ParseDecimal(text.substr(start, width));
}

uint8_t ClampToByte(int32_t value) { return static_cast<uint8_t>(std::clamp<int32_t>(value, 0, UINT8_MAX)); }

int8_t ClampToSignedByte(int32_t value) {
    return static_cast<int8_t>(std::clamp<int32_t>(value, INT8_MIN, INT8_MAX));
}

uint16_t ClampToWord(int32_t value) { return static_cast<uint16_t>(std::clamp<int32_t>(value, 0, UINT16_MAX)); }

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

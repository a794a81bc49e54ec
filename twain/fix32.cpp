#include "twain/fix32.h"

TW_FIX32 Fix32FromInt(int32_t n) { return TW_FIX32{static_cast<TW_INT16>(n), 0}; }

TW_FIX32 Fix32FromReal(float x) {
    const float scaled = x * 65536.0f + 0.5f;
    // Keep the conversion to an integer defined: TW_FIX32 spans -32768..32767.99.
    const float limit = 2147483520.0f;  // the largest float below 2^31
    const int32_t t = scaled >= limit ? INT32_MAX : scaled <= -limit ? INT32_MIN : static_cast<int32_t>(scaled);
    const uint32_t bits = static_cast<uint32_t>(t);
    return TW_FIX32{static_cast<TW_INT16>(bits >> 16), static_cast<TW_UINT16>(bits & 0xFFFF)};
}

uint32_t Fix32ToContainer(TW_FIX32 value) {
    return static_cast<uint16_t>(value.Whole) | (uint32_t{value.Frac} << 16);
}

TW_FIX32 Fix32FromContainer(uint32_t item) {
    return TW_FIX32{static_cast<TW_INT16>(item & 0xFFFF), static_cast<TW_UINT16>(item >> 16)};
}

double Fix32ToDouble(TW_FIX32 value) { return value.Whole + value.Frac / 65536.0; }

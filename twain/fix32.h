// TW_FIX32 conversions. In a 32-bit container field (a one-value Item, a
// range value) a TW_FIX32 travels as the structure itself: Whole in the low
// 16 bits, Frac in the high 16 bits.
#pragma once

#include <cstdint>

#include "twain/twain.h"

// (Whole n, Frac 0); n is cut to 16 bits.
TW_FIX32 Fix32FromInt(int32_t n);

// t = integer part of (x * 65536 + 0.5) in single precision; Whole is the
// upper and Frac the lower 16 bits of t. Values beyond the TW_FIX32 range
// saturate.
TW_FIX32 Fix32FromReal(float x);

uint32_t Fix32ToContainer(TW_FIX32 value);
TW_FIX32 Fix32FromContainer(uint32_t item);

// Whole + Frac / 65536.
double Fix32ToDouble(TW_FIX32 value);

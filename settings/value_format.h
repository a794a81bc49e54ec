// Text formats of profile and settings-file values.
#pragma once

#include <cstdint>
#include <string>

// A decimal integer as the system reads it: leading blanks skipped, an
// optional sign, digits up to the first non-digit; 0 when there are none.
// Values beyond 32 bits are clamped, never wrapped.
int32_t ParseDecimal(const std::string& text);

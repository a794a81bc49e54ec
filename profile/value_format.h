// Text formats of profile and settings-file values: plain decimal numbers and
// lists of fixed-width fields that are read back by position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A decimal integer as the system reads it: leading blanks skipped, an
// optional sign, digits up to the first non-digit; 0 when there are none.
// Values beyond 32 bits are clamped, never wrapped.
int32_t ParseDecimal(const std::string& text);

// The text a profile read with a buffer of `buffer` characters (terminating
// zero included) returns: at most buffer - 1 characters.
std::string CutToBuffer(const std::string& text, size_t buffer);

// Each value as printf's "%-<width>d" writes it (left-justified, blank-padded
// to `width`; a longer number keeps all its characters), concatenated
// without separators.
std::string FormatFields(const std::vector<int32_t>& values, int width);

// Field `index` of such a list, read by position: the decimal number starting
// at character stride x index. With `width` only that many characters belong
// to the field; without it the number runs to the first non-digit, so a field
// wider than its slot runs into the next one. A field that starts past the
// end of the text reads 0.
constexpr size_t kToFirstNonDigit = std::string::npos;
int32_t FieldAt(const std::string& text, size_t index, size_t stride, size_t width = kToFirstNonDigit);

// Texts equal when case is ignored (ASCII letters).
bool EqualIgnoringCase(const std::string& a, const std::string& b);

// Numbers read from text, brought into the range of the field they go to.
uint8_t ClampToByte(int32_t value);
int8_t ClampToSignedByte(int32_t value);
uint16_t ClampToWord(int32_t value);

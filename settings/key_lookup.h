// Reading keys of one profile section, whatever holds it (WIN.INI, a settings
// file, or a plain map in the tests): the portable readers see the section
// only through a lookup, and the writers produce the key/value pairs in the
// order they are written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The value of a key of the section, or nothing when the key is missing.
// The value may be longer than any buffer: the readers cut it themselves.
using KeyLookup = std::function<std::optional<std::string>(const std::string& key)>;

// Keys and values in the order they are written.
using KeyValues = std::vector<std::pair<std::string, std::string>>;

// The key's text as a profile read gives it: the value, or `fallback` when
// the key is missing, cut to `buffer` characters (terminating zero included).
std::string ReadKeyText(const KeyLookup& lookup, const std::string& key, const char* fallback, size_t buffer);

// The same text read as a decimal number.
int32_t ReadKeyNumber(const KeyLookup& lookup, const std::string& key, const char* fallback, size_t buffer);

// A list of `count` fields of `stride` characters each, read with a buffer of
// stride x count + 1 characters and split by position (see FieldAt).
std::vector<int32_t> ReadKeyFields(const KeyLookup& lookup, const std::string& key, const char* fallback,
                                   size_t count, size_t stride, size_t width);

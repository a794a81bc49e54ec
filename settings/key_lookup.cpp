#include "settings/key_lookup.h"

#include "profile/value_format.h"

std::string ReadKeyText(const KeyLookup& lookup, const std::string& key, const char* fallback, size_t buffer) {
    std::optional<std::string> value = lookup(key);
    return CutToBuffer(value ? *value : std::string(fallback), buffer);
}

int32_t ReadKeyNumber(const KeyLookup& lookup, const std::string& key, const char* fallback, size_t buffer) {
    return ParseDecimal(ReadKeyText(lookup, key, fallback, buffer));
}

std::vector<int32_t> ReadKeyFields(const KeyLookup& lookup, const std::string& key, const char* fallback,
                                   size_t count, size_t stride, size_t width) {
    const std::string text = ReadKeyText(lookup, key, fallback, stride * count + 1);
    std::vector<int32_t> fields(count);
    for (size_t k = 0; k < count; ++k) fields[k] = FieldAt(text, k, stride, width);
    return fields;
}

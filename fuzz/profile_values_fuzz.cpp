// Fuzz target of the WIN.INI value readers: the input is the text of one
// value as another program or a person may have left it. Numbers stay within
// 32 bits and the field readers never read outside the text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "profile/value_format.h"
#include "settings/key_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Input input(data, size);
    const size_t buffer = 1 + input.Take(1);
    const size_t stride = 1 + input.Take(1) % 8;
    const size_t count = input.Take(1) % 40;
    const std::string text(reinterpret_cast<const char*>(input.rest()), input.restSize());

    ParseDecimal(text);
    fuzzing::Require(CutToBuffer(text, buffer).size() <= buffer - 1);
    for (size_t i = 0; i < count; ++i) {
        FieldAt(text, i, stride);
        FieldAt(text, i, stride, stride);
    }
    const KeyLookup lookup = [&text](const std::string&) -> std::optional<std::string> { return text; };
    fuzzing::Require(ReadKeyText(lookup, "Key", "", buffer).size() <= buffer - 1);
    ReadKeyNumber(lookup, "Key", "0", buffer);
    fuzzing::Require(ReadKeyFields(lookup, "Key", "", count, stride, stride).size() == count);
    return 0;
}

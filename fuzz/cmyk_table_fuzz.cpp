// Fuzz target of the CMYK table reader: the input is a table file. Only a
// table of the one size reads, and a table that reads converts every pixel
// inside its buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "imaging/cmyk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Input input(data, size);
    const uint32_t pixelCount = input.Take(1);
    static colour::CmykTable table;
    const bool read = colour::ParseCmykTable(input.rest(), input.restSize(), table);
    fuzzing::Require(read == (input.restSize() == colour::kCmykTableSize));
    fuzzing::Require(table.loaded == read);
    if (read && pixelCount != 0) {
        const size_t inputBytes = pixelCount * 3;
        std::vector<uint8_t> buffer(pixelCount * 4);
        for (size_t i = 0; i < inputBytes; ++i) buffer[i] = input.rest()[i];
        fuzzing::Require(colour::ConvertToCmyk(table, buffer.data(), buffer.size(), inputBytes, pixelCount & 1));
        fuzzing::Require(!colour::ConvertToCmyk(table, buffer.data(), buffer.size() - 1, inputBytes, false));
    }
    // The table outlives the input: the next one starts from an empty table.
    colour::FreeCmykTable(table);
    return 0;
}

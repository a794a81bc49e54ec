// Progress of a memory transfer on standard error, as percent of the rows
// received. On a console the line is rewritten in place as rows arrive;
// otherwise (a file or a pipe) only the final line is written, so that logs
// hold one line per scan.
#pragma once

#include <cstdint>

class TransferProgress {
public:
    explicit TransferProgress(uint32_t totalRows);
    // After each block: the rows received so far.
    void Update(uint32_t rows);
    // When the transfer has ended, completely or not: the last state on a line of its own.
    void Finish();

private:
    void Show(const char* ending) const;

    uint32_t total_;
    uint32_t rows_ = 0;
    uint32_t percentShown_ = 0;
    bool inPlace_;
    bool shown_ = false;
};

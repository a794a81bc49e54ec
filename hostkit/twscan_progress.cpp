#include "hostkit/twscan_progress.h"

#include <windows.h>

#include <cstdio>

namespace {

// A console, not merely a character device: NUL is one too, and must get
// the single closing line like a file.
bool StandardErrorIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

uint32_t Percent(uint32_t rows, uint32_t total) {
    return total == 0 ? 100 : static_cast<uint32_t>(uint64_t{rows} * 100 / total);
}

}  // namespace

TransferProgress::TransferProgress(uint32_t totalRows)
    : total_(totalRows), inPlace_(StandardErrorIsConsole()) {}

void TransferProgress::Update(uint32_t rows) {
    rows_ = rows;
    if (!inPlace_) return;
    const uint32_t percent = Percent(rows_, total_);
    if (shown_ && percent == percentShown_) return;
    shown_ = true;
    percentShown_ = percent;
    Show("");
}

void TransferProgress::Finish() {
    if (!inPlace_) {
        Show("\n");
        return;
    }
    Update(rows_);
    std::fputs("\n", stderr);
}

void TransferProgress::Show(const char* ending) const {
    std::fprintf(stderr, "%stwscan: received %u of %u rows (%u%%)%s", inPlace_ ? "\r" : "", rows_, total_,
                 Percent(rows_, total_), ending);
    std::fflush(stderr);
}

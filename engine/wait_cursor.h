// The wait cursor for the lifetime of a step the user waits on, such as the
// enlargement of an image; the cursor before it comes back afterwards.
#pragma once

#include <windows.h>

class WaitCursor {
public:
    explicit WaitCursor(bool shown)
        : shown_(shown), previous_(shown ? SetCursor(LoadCursor(nullptr, IDC_WAIT)) : nullptr) {}
    ~WaitCursor() {
        if (shown_) SetCursor(previous_);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool shown_;
    HCURSOR previous_;
};

// The main dialog as the layers below ui/ see it. The dialog lives in ui/, on
// top of everything; the device messages, the engine and the TWAIN layer reach
// it only through these calls, which ui/main_dialog.cpp provides.
#pragma once

#include <windows.h>

struct DialogLink {
    HWND (*create)();                     // creates the modeless dialog; null when creation failed
    void (*destroy)();                    // destroys it, if it exists
    void (*endOfScan)();                  // the scan is over: scan timer stopped, buttons enabled again
    void (*continueBatch)(UINT delayMs);  // the batch list goes on with its next entry after delayMs
    void (*abortBatch)();                 // Escape during a scan: the batch list's run stops
    // Scan To File, inside the host's last memory call: the finished scan is
    // stored as its entry's file and the next entry's scan started; false
    // when the run is over.
    bool (*nextBatchEntryToFile)();
};

extern const DialogLink g_dialogLink;

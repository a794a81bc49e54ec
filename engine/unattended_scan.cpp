#include "engine/unattended_scan.h"

#include "twain/notify.h"
#include "twain/session.h"

// Scanning without the dialog is not possible yet: the host learns it at once
// and is asked to close the source, as after any failed unattended scan.
void RunUnattendedScan() {
    Fail(TWCC_OPERATIONERROR);
    PostCloseRequest();
}

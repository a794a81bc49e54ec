// The scan that MSG_ENABLEDS without the user interface starts, from the
// negotiated capabilities and the image layout.
#pragma once

enum class UnattendedResult { kReady, kFeederEmpty, kFailed };

// Runs the scan. kReady: MSG_XFERREADY is posted. kFeederEmpty: the feeder
// ran out after delivered pages, which quietly ends a batch. kFailed: the
// host is asked to close the source.
UnattendedResult RunUnattendedScan();

// The negotiated values never reach the dialog: the unattended scan keeps
// the dialog's settings aside, and this puts them back before the dialog is
// shown again.
void RestoreDialogRecord();

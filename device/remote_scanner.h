// The data source's connection to a scanner shared by another computer: made
// by the open sequence when no local scanner answers, used by every request
// while the source is in remote mode, lent to the prescan module, and ended
// when the main dialog closes or the source closes.
#pragma once

#include <cstdint>

#include "device/device.h"

// OpenScanner's remote branch: starts Winsock, finds the peer and connects,
// shows the connection notice and asks the peer's scanner for its identity
// into the inquiry block. Shows the message of every failure; on failure
// nothing stays open. When no peer answers, the version text of the source's
// identity becomes "0".
bool ConnectRemoteScanner(ScannerIdentity& identity);

// One request over the connection; the lost-connection message is shown when
// it fails.
bool RemoteScannerRequest(uint32_t function, uint8_t* block);

// The byte that message 1 carries: 1 while the colour group's first
// calibration since the dialog opened is still due.
void SetRemoteCalibrationDue(bool due);

enum class RemoteCalibration { kDone, kRefused, kLost };

// Asks the peer to calibrate its scanner. kRefused: its reply was "NO";
// kLost: the transport failed and its message was shown.
RemoteCalibration RemoteCalibrate();

// The connected socket, as the prescan module borrows it; 0 without one.
uintptr_t RemoteSocketHandle();

// True in remote mode once the connection is gone.
bool RemoteConnectionLost();

// Closes the connection and ends this module's use of Winsock; a second call
// does nothing. Remote mode stays set: later requests fail as lost.
void EndRemoteConnection();

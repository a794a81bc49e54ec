// The scan that MSG_ENABLEDS without the user interface starts, from the
// negotiated capabilities and the image layout.
#pragma once

// Runs the scan; on failure the host is asked to close the source.
void RunUnattendedScan();

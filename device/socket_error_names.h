// The names that socket error boxes show for Winsock error codes.
#pragma once

// The Winsock 1.1 name of `code` as the boxes show it (10049 keeps the
// spelling "WSAEEADDRNOTAVAIL"), or "error_code not defined" for a code
// without a name.
const char* SocketErrorName(int code);

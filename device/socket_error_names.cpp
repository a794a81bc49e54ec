#include "device/socket_error_names.h"

namespace {

// Codes 10035..10071 in order.
const char* const kRange[] = {
    "WSAEWOULDBLOCK",     "WSAEINPROGRESS",  "WSAEALREADY",     "WSAENOTSOCK",     "WSAEDESTADDRREQ",
    "WSAEMSGSIZE",        "WSAEPROTOTYPE",   "WSAENOPROTOOPT",  "WSAEPROTONOSUPPORT", "WSAESOCKTNOSUPPORT",
    "WSAEOPNOTSUPP",      "WSAEPFNOSUPPORT", "WSAEAFNOSUPPORT", "WSAEADDRINUSE",   "WSAEEADDRNOTAVAIL",
    "WSAENETDOWN",        "WSAENETUNREACH",  "WSAENETRESET",    "WSAECONNABORTED", "WSAECONNRESET",
    "WSAENOBUFS",         "WSAEISCONN",      "WSAENOTCONN",     "WSAESHUTDOWN",    "WSAETOOMANYREFS",
    "WSAETIMEDOUT",       "WSAECONNREFUSED", "WSAELOOP",        "WSAENAMETOOLONG", "WSAEHOSTDOWN",
    "WSAEHOSTUNREACH",    "WSAENOTEMPTY",    "WSAEPROCLIM",     "WSAEUSERS",       "WSAEDQUOT",
    "WSAESTALE",          "WSAEREMOTE",
};
constexpr int kRangeFirst = 10035;
constexpr int kRangeLast = kRangeFirst + static_cast<int>(sizeof kRange / sizeof kRange[0]) - 1;

}  // namespace

const char* SocketErrorName(int code) {
    if (code >= kRangeFirst && code <= kRangeLast) return kRange[code - kRangeFirst];
    switch (code) {
        case 10004: return "WSAEINTR";
        case 10009: return "WSAEBADF";
        case 10013: return "WSAEACCES";
        case 10014: return "WSAEFAULT";
        case 10024: return "WSAEMFILE";
        case 10091: return "WSASYSNOTREADY";
        case 10092: return "WSAVERNOTSUPPORTED";
        case 10093: return "WSANOTINITIALISED";
        default: return "error_code not defined";
    }
}

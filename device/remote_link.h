// The client side of the remote scanner protocol over Windows Sockets 1.1:
// discovery of the sharing peer by UDP, the TCP connection to it, and one
// request message with its reply (and, for an image read, the image data in
// between). Shared by the data source, which owns the connection, and the
// prescan module, which borrows it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

// Where the peer is looked for and how long a reply is waited for, from
// WIN.INI [A3 REMOTE]: Address (the discovery target, default the limited
// broadcast 255.255.255.255), ClientPort (6000; 0 = any free port),
// DiscoveryPort (6001), Port (7000), ReplyWait (seconds for a reply, 30),
// LongWait (seconds for image data and calibration, 300), DiscoveryWait
// (seconds for each discovery datagram, 5).
struct RemoteSettings {
    std::string discoveryAddress;
    uint16_t clientPort = 0;
    uint16_t discoveryPort = 0;
    uint16_t peerPort = 0;
    uint32_t replyWait = 0;  // milliseconds
    uint32_t longWait = 0;
    uint32_t discoveryWait = 0;
};
RemoteSettings ReadRemoteSettings();

// How a module shows the name of a socket error.
using SocketErrorBox = void (*)(int code);

struct RemoteLink {
    SOCKET socket = INVALID_SOCKET;
    bool ownsSocket = true;  // false for the prescan module's borrowed socket
    bool lost = false;       // a borrowed socket whose connection failed
    int lastSocketError = 0;
    SocketErrorBox showSocketError = nullptr;
    RemoteSettings settings;
    char calibrationReply[2] = {};  // the two result bytes of the last calibration
};

// WSAStartup for version 1.1; false (cleaned up again) unless the library
// grants exactly 1.1.
bool StartWinsock();

// Cancels a blocking call still pending on this thread.
bool CancelBlocking(RemoteLink& link);

struct Provider {
    std::string owner;    // printable characters only, at most 15
    std::string address;  // dotted IPv4
};

enum class Discovery { kConnected, kTimedOut, kFailed };

// Asks for the peer on UDP, takes the owner's name from the peer that
// answered first, and connects the link's socket to it. Every socket error
// shows its name; no socket is left open on failure.
Discovery DiscoverProvider(RemoteLink& link, Provider& provider);

// One request message of `code` with `block` (and, for message 1, the
// calibration-due byte); for an image read also the image data, placed at
// the descriptors of the read record. False when the transport failed.
bool RemoteSend(RemoteLink& link, uint32_t code, uint8_t* block, uint8_t calibrationDue);

// The reply to a request of `code`, stored into `block` (an image read
// changes only its status word; a calibration only the link's reply bytes).
// A reply of another code is a transport failure.
bool RemoteReceive(RemoteLink& link, uint32_t code, uint8_t* block);

// Closes the link's own socket (a borrowed one is only forgotten).
void CloseRemote(RemoteLink& link);

#include "device/remote_link.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "device/remote_messages.h"
#include "device/request_blocks.h"

namespace {

constexpr char kQuestion[] = "Is there a orvane scanner?";
constexpr char kThanks[] = "thanks";
constexpr size_t kFirstReplyLength = 5;
constexpr int kDatagramBytes = 512;
constexpr int kSocketBuffer = 32767;
constexpr int kConnectionReset = 10054;
constexpr char kSection[] = "A3 REMOTE";

uint16_t ProfilePort(const char* key, int fallback) {
    const UINT port = GetProfileIntA(kSection, key, fallback);
    return static_cast<uint16_t>(port <= 0xFFFF ? port : fallback);
}

uint32_t ProfileSeconds(const char* key, int fallback) {
    return static_cast<uint32_t>(GetProfileIntA(kSection, key, fallback)) * 1000u;
}

void SocketError(RemoteLink& link, int code) {
    link.lastSocketError = code;
    if (link.showSocketError) link.showSocketError(code);
}

// Waits until `socket` is readable; 1 readable, 0 timed out, -1 error.
int WaitReadable(SOCKET socket, uint32_t milliseconds) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait{static_cast<long>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &wait);
}

void CloseQuietly(SOCKET& socket) {
    if (socket != INVALID_SOCKET) closesocket(socket);
    socket = INVALID_SOCKET;
}

// The connection failed: a socket error is shown (except a reset), and the
// link's socket is closed, or marked lost when it is borrowed.
bool Lost(RemoteLink& link, int socketError = 0) {
    if (socketError != 0) {
        link.lastSocketError = socketError;
        if (socketError != kConnectionReset && link.showSocketError) link.showSocketError(socketError);
    }
    CancelBlocking(link);
    if (link.ownsSocket) {
        CloseQuietly(link.socket);
    } else {
        link.lost = true;
    }
    return false;
}

// Exactly `length` bytes, each receive bounded by `wait`.
bool ReceiveExactly(RemoteLink& link, uint8_t* into, size_t length, uint32_t wait) {
    size_t done = 0;
    while (done < length) {
        const int ready = WaitReadable(link.socket, wait);
        if (ready < 0) return Lost(link, WSAGetLastError());
        if (ready == 0) return Lost(link);  // the peer stays silent
        const int want = static_cast<int>(std::min<size_t>(length - done, 0x7FFF));
        const int got = recv(link.socket, reinterpret_cast<char*>(into + done), want, 0);
        if (got < 0) return Lost(link, WSAGetLastError());
        if (got == 0) return Lost(link);  // the peer closed the connection
        done += static_cast<size_t>(got);
    }
    return true;
}

// The image data of one read: the read's bytes, in the order of the record's
// descriptors, each descriptor's share received whole into the staging
// buffer and then copied to the descriptor's address.
bool ReceiveImageData(RemoteLink& link, const uint8_t* record) {
    std::vector<remote::ImageShare> shares;
    if (!remote::ImageShares(record, shares)) return Lost(link);
    std::vector<uint8_t> staging(remote::kStagingBytes);
    for (const remote::ImageShare& share : shares) {
        if (!ReceiveExactly(link, staging.data(), share.bytes, link.settings.longWait)) return false;
        std::memcpy(reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(share.address)), staging.data(), share.bytes);
    }
    return true;
}

uint32_t WaitFor(const RemoteLink& link, uint32_t code) {
    return code == blocks::kReadImageData || code == blocks::kRemoteCalibrate ? link.settings.longWait
                                                                              : link.settings.replyWait;
}

sockaddr_in AddressOf(const std::string& dotted, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = inet_addr(dotted.c_str());
    return address;
}

bool SendDatagram(RemoteLink& link, SOCKET udp, const char* text, size_t length) {
    const sockaddr_in target = AddressOf(link.settings.discoveryAddress, link.settings.discoveryPort);
    if (sendto(udp, text, static_cast<int>(length), 0, reinterpret_cast<const sockaddr*>(&target), sizeof target) !=
        SOCKET_ERROR)
        return true;
    SocketError(link, WSAGetLastError());
    return false;
}

enum class Datagram { kReceived, kTimedOut, kFailed };

// One datagram within `wait` ms. A datagram that came back undeliverable
// (reported as a reset) means no peer at that address: the wait goes on.
Datagram ReceiveDatagram(RemoteLink& link, SOCKET udp, uint32_t wait, char* text, int& length, sockaddr_in& from) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= wait || WaitReadable(udp, wait - spent) == 0) return Datagram::kTimedOut;
        int fromLength = sizeof from;
        length = recvfrom(udp, text, kDatagramBytes, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (length != SOCKET_ERROR) return Datagram::kReceived;
        const int error = WSAGetLastError();
        if (error == kConnectionReset) continue;
        SocketError(link, error);
        return Datagram::kFailed;
    }
}

bool SameSender(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

// Drops the datagrams already waiting (late or repeated first replies).
void DropWaiting(SOCKET udp) {
    char text[kDatagramBytes];
    while (WaitReadable(udp, 0) > 0 && recv(udp, text, sizeof text, 0) != SOCKET_ERROR) {
    }
}

// The question, the first reply, the thanks and the owner's name from the
// peer that replied first.
Discovery AskForProvider(RemoteLink& link, SOCKET udp, Provider& provider, sockaddr_in& peer) {
    if (!SendDatagram(link, udp, kQuestion, sizeof kQuestion - 1)) return Discovery::kFailed;
    char text[kDatagramBytes + 1] = {};
    int length = 0;
    switch (ReceiveDatagram(link, udp, link.settings.discoveryWait, text, length, peer)) {
        case Datagram::kTimedOut: return Discovery::kTimedOut;
        case Datagram::kFailed: return Discovery::kFailed;
        case Datagram::kReceived: break;
    }
    if (strnlen(text, static_cast<size_t>(length)) != kFirstReplyLength) return Discovery::kFailed;
    DropWaiting(udp);
    if (!SendDatagram(link, udp, kThanks, sizeof kThanks - 1)) return Discovery::kFailed;

    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= link.settings.discoveryWait) return Discovery::kTimedOut;
        sockaddr_in from{};
        switch (ReceiveDatagram(link, udp, link.settings.discoveryWait - spent, text, length, from)) {
            case Datagram::kTimedOut: return Discovery::kTimedOut;
            case Datagram::kFailed: return Discovery::kFailed;
            case Datagram::kReceived: break;
        }
        if (!SameSender(from, peer)) continue;
        provider.owner = remote::ShownOwnerName(text, strnlen(text, static_cast<size_t>(length)));
        provider.address = inet_ntoa(peer.sin_addr);
        return Discovery::kConnected;
    }
}

}  // namespace

RemoteSettings ReadRemoteSettings() {
    RemoteSettings settings;
    char address[64] = {};
    GetProfileStringA(kSection, "Address", "255.255.255.255", address, sizeof address);
    settings.discoveryAddress = address;
    settings.clientPort = ProfilePort("ClientPort", 6000);
    settings.discoveryPort = ProfilePort("DiscoveryPort", 6001);
    settings.peerPort = ProfilePort("Port", 7000);
    settings.replyWait = ProfileSeconds("ReplyWait", 30);
    settings.longWait = ProfileSeconds("LongWait", 300);
    settings.discoveryWait = ProfileSeconds("DiscoveryWait", 5);
    return settings;
}

bool StartWinsock() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
    if (LOBYTE(data.wVersion) == 1 && HIBYTE(data.wVersion) == 1) return true;
    WSACleanup();
    return false;
}

bool CancelBlocking(RemoteLink& link) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!WSAIsBlocking() || WSACancelBlockingCall() == 0) return true;
#pragma GCC diagnostic pop
    SocketError(link, WSAGetLastError());
    return false;
}

Discovery DiscoverProvider(RemoteLink& link, Provider& provider) {
    SOCKET udp = socket(AF_INET, SOCK_DGRAM, 0);
    if (udp == INVALID_SOCKET) {
        SocketError(link, WSAGetLastError());
        return Discovery::kFailed;
    }
    const BOOL broadcast = TRUE;
    setsockopt(udp, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&broadcast), sizeof broadcast);
    const sockaddr_in local = AddressOf("0.0.0.0", link.settings.clientPort);
    Discovery result = Discovery::kFailed;
    sockaddr_in peer{};
    if (bind(udp, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
        SocketError(link, WSAGetLastError());
    } else {
        result = AskForProvider(link, udp, provider, peer);
    }
    CancelBlocking(link);
    closesocket(udp);
    if (result != Discovery::kConnected) return result;

    SOCKET tcp = socket(AF_INET, SOCK_STREAM, 0);
    if (tcp == INVALID_SOCKET) {
        SocketError(link, WSAGetLastError());
        return Discovery::kFailed;
    }
    const int size = kSocketBuffer;
    setsockopt(tcp, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    setsockopt(tcp, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
    const sockaddr_in target = AddressOf(provider.address, link.settings.peerPort);
    if (connect(tcp, reinterpret_cast<const sockaddr*>(&target), sizeof target) == SOCKET_ERROR) {
        SocketError(link, WSAGetLastError());
        closesocket(tcp);
        return Discovery::kFailed;
    }
    link.socket = tcp;
    link.lost = false;
    return Discovery::kConnected;
}

bool RemoteSend(RemoteLink& link, uint32_t code, uint8_t* block, uint8_t calibrationDue) {
    if (link.socket == INVALID_SOCKET || link.lost) return false;
    remote::MessageSizes sizes;
    if (!remote::SizesOf(code, sizes)) return false;
    std::vector<uint8_t> message(sizes.request, 0);
    message[0] = static_cast<uint8_t>(code);
    if (sizes.payload) std::memcpy(message.data() + 1, block, sizes.payload);
    if (code == blocks::kSetScanParameters) message[sizes.request - 1] = calibrationDue;
    size_t sent = 0;
    while (sent < message.size()) {
        const int result = send(link.socket, reinterpret_cast<const char*>(message.data() + sent),
                                static_cast<int>(message.size() - sent), 0);
        if (result == SOCKET_ERROR) return Lost(link, WSAGetLastError());
        if (result == 0) return Lost(link);
        sent += static_cast<size_t>(result);
    }
    return code != blocks::kReadImageData || ReceiveImageData(link, block);
}

bool RemoteReceive(RemoteLink& link, uint32_t code, uint8_t* block) {
    if (link.socket == INVALID_SOCKET || link.lost) return false;
    remote::MessageSizes sizes;
    if (!remote::SizesOf(code, sizes)) return false;
    std::vector<uint8_t> reply(sizes.reply, 0);
    if (!ReceiveExactly(link, reply.data(), 1, WaitFor(link, code))) return false;
    if (reply[0] != code) return Lost(link);
    if (!ReceiveExactly(link, reply.data() + 1, sizes.reply - 1, link.settings.replyWait)) return false;
    return remote::TakeReply(code, reply.data(), reply.size(), block, link.calibrationReply) || Lost(link);
}

void CloseRemote(RemoteLink& link) {
    if (link.ownsSocket && link.socket != INVALID_SOCKET) {
        CancelBlocking(link);
        if (closesocket(link.socket) == SOCKET_ERROR) SocketError(link, WSAGetLastError());
    }
    link.socket = INVALID_SOCKET;
}

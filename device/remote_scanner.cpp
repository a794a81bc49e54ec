#include "device/remote_scanner.h"

#include <cstring>

#include "device/device.h"
#include "device/inquiry.h"
#include "device/messages.h"
#include "device/remote_link.h"
#include "device/remote_messages.h"
#include "device/socket_error_names.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"

namespace {

struct RemoteState {
    RemoteLink link;
    bool winsockStarted = false;  // one WSACleanup is owed
    uint8_t calibrationDue = 0;
};

RemoteState g_remote;

void ShowSocketErrorBox(int code) { ShowMessage(GetActiveWindow(), Widen(SocketErrorName(code))); }

void EndWinsock() {
    if (!g_remote.winsockStarted) return;
    g_remote.winsockStarted = false;
    if (WSACleanup() == SOCKET_ERROR) ShowSocketErrorBox(WSAGetLastError());
}

void ShowConnected(const Provider& provider) {
    ShowMessage(nullptr, LoadText(MSG_REMOTE_AVAILABLE) + L"\n" + LoadText(MSG_REMOTE_CONNECT) + L"\n" +
                             LoadText(MSG_REMOTE_OWNER) + Widen(provider.owner) + L"\n" +
                             LoadText(MSG_REMOTE_ADDRESS) + Widen(provider.address));
}

}  // namespace

bool ConnectRemoteScanner(ScannerIdentity& identity) {
    if (!StartWinsock()) {
        ShowMessage(nullptr, L"Open winsock.dll failure!");
        return false;
    }
    g_remote.winsockStarted = true;
    g_remote.link = RemoteLink{};
    g_remote.link.showSocketError = ShowSocketErrorBox;
    g_remote.link.settings = ReadRemoteSettings();
    Provider provider;
    const Discovery found = DiscoverProvider(g_remote.link, provider);
    if (found != Discovery::kConnected) {
        // No answer at all: neither a local nor a remote scanner, one message.
        if (found != Discovery::kTimedOut) ShowMessage(nullptr, LoadText(MSG_NO_REMOTE));
        ShowDeviceError(nullptr, MSG_NOT_FOUND);
        EndRemoteConnection();
        identity.versionInfo = "0";
        return false;
    }
    ShowConnected(provider);
    g_device.remoteMode = true;
    uint8_t* inquiry = g_device.blocks.inquiry;
    ClearInquiryIdentity(inquiry);
    if (!RemoteScannerRequest(blocks::kInquiry, inquiry)) {
        EndRemoteConnection();
        g_device.remoteMode = false;
        return false;
    }
    if (BlockStatus(inquiry) != 0) {
        ShowMessage(nullptr, LoadText(MSG_REMOTE_ERROR));
        EndRemoteConnection();
        g_device.remoteMode = false;
        return false;
    }
    return true;
}

bool RemoteScannerRequest(uint32_t function, uint8_t* block) {
    RemoteLink& link = g_remote.link;
    if (RemoteSend(link, function, block, g_remote.calibrationDue) && RemoteReceive(link, function, block))
        return true;
    ShowRemoteLost();
    return false;
}

void SetRemoteCalibrationDue(bool due) { g_remote.calibrationDue = due ? 1 : 0; }

RemoteCalibration RemoteCalibrate() {
    if (!RemoteScannerRequest(blocks::kRemoteCalibrate, nullptr)) return RemoteCalibration::kLost;
    const bool refused = std::memcmp(g_remote.link.calibrationReply, remote::kCalibrationFailed, 2) == 0;
    return refused ? RemoteCalibration::kRefused : RemoteCalibration::kDone;
}

uintptr_t RemoteSocketHandle() {
    return g_remote.link.socket == INVALID_SOCKET ? 0 : static_cast<uintptr_t>(g_remote.link.socket);
}

bool RemoteConnectionLost() { return g_device.remoteMode && g_remote.link.socket == INVALID_SOCKET; }

void EndRemoteConnection() {
    CloseRemote(g_remote.link);
    EndWinsock();
}

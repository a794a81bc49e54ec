// lendaro-sim: the stand-in for the program that shares a scanner with other
// computers. It answers discovery on UDP, serves the request messages of one
// client at a time on TCP from the same scanner model as KVASPI_SP.DLL, logs
// every request it serves, and misbehaves on demand. See docs/SIMULATOR.md.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "device/request_blocks.h"
#include "sim/scanner_model.h"

namespace {

struct Options {
    int udpPort = 6001;
    int tcpPort = 7000;
    std::string portsFile, controlFile, logFile, scannerFile;
    std::string owner = "lendaro-sim";
};

// The misbehaviours, read afresh from the control file at every event.
struct Control {
    std::map<std::string, std::string> keys;
    std::string Get(const std::string& key, const std::string& fallback = "") const {
        auto found = keys.find(key);
        return found == keys.end() ? fallback : found->second;
    }
    long Number(const std::string& key, long fallback = -1) const {
        auto found = keys.find(key);
        return found == keys.end() ? fallback : std::strtol(found->second.c_str(), nullptr, 0);
    }
};

Options g_options;

Control ReadControl() {
    Control control;
    std::ifstream file(g_options.controlFile);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t equals = line.find('=');
        if (equals != std::string::npos) control.keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return control;
}

void Log(const std::string& line) {
    if (g_options.logFile.empty()) return;
    std::ofstream(g_options.logFile, std::ios::app) << line << "\n";
}

// Bytes of a request and of its reply, code byte included; 0 for a code
// without a message.
struct Sizes {
    size_t request, reply;
};
Sizes MessageSizes(int code) {
    switch (code) {
        case 0: return {135, 135};
        case 1: return {34, 33};
        case 4: return {16405, 16405};
        case 5: return {17, 17};
        case 6: return {7, 7};
        case 7: return {17, 17};
        case 8: return {37, 37};
        case 9: return {13, 13};
        case 10: return {1, 4};
        default: return {0, 0};
    }
}

bool ReadAll(int fd, uint8_t* into, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t got = recv(fd, into + done, length - done, 0);
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

// Sends in pieces of `split` bytes (0: whole), pausing between them so that
// the client receives them one by one.
bool WriteAll(int fd, const uint8_t* bytes, size_t length, const Control& control) {
    const size_t piece = control.Number("split", 0) > 0 ? static_cast<size_t>(control.Number("split")) : length;
    for (size_t done = 0; done < length;) {
        const size_t now = std::min(piece, length - done);
        const ssize_t sent = send(fd, bytes + done, now, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        done += static_cast<size_t>(sent);
        if (piece < length) usleep(static_cast<useconds_t>(control.Number("splitpause", 200)));
    }
    return true;
}

// The connection's close will reset it instead of ending it in order.
void ResetOnClose(int fd) {
    linger hard{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The scanner behind the peer; its memory is the peer's own buffer.
struct Scanner {
    sim::ScannerState state;
    std::vector<uint8_t> image;  // where the lines of one read go
    static constexpr uint32_t kImageAddress = 0x10000;

    static uint8_t* Resolve(void* context, uint32_t address, uint32_t length) {
        auto* self = static_cast<Scanner*>(context);
        if (address < kImageAddress || address - kImageAddress + uint64_t{length} > self->image.size()) return nullptr;
        return self->image.data() + (address - kImageAddress);
    }
    // A new client meets a scanner just switched on, configured afresh.
    void Restart() {
        state = sim::ScannerState{};
        state.memory.resolve = Resolve;
        state.memory.context = this;
        const std::string text = ReadText(g_options.scannerFile);
        sim::ResetScanner(state, sim::ParseScannerConfig(text.find("[Scanner]") == 0 ? text : "[Scanner]\n" + text));
    }
};

// One request read and answered; false when the connection ends.
bool Serve(int fd, Scanner& scanner, uint32_t& requests) {
    uint8_t code = 0;
    if (!ReadAll(fd, &code, 1)) return false;
    const Sizes sizes = MessageSizes(code);
    if (sizes.request == 0) {
        Log("UNKNOWN " + std::to_string(code));
        return false;
    }
    std::vector<uint8_t> request(sizes.request);
    request[0] = code;
    if (!ReadAll(fd, request.data() + 1, sizes.request - 1)) return false;
    // Misbehaviours apply to the requests of the code `on` names, or to all.
    Control control = ReadControl();
    if (control.Number("on") >= 0 && control.Number("on") != code) control = Control{};
    if (control.Number("close") == 1) {
        Log("CLOSED F" + std::to_string(code));
        return false;
    }
    if (control.Number("reset") == 1) {
        ResetOnClose(fd);
        Log("RESET F" + std::to_string(code));
        return false;
    }

    std::vector<uint8_t> reply(sizes.reply, 0);
    std::vector<uint8_t> imageData;
    ++requests;
    if (code == blocks::kRemoteCalibrate) {
        const std::string answer = control.Get("calibration", "OK");
        std::memcpy(reply.data() + 1, answer.c_str(), std::min<size_t>(answer.size(), 2));
        Log(std::to_string(requests) + " F10 " + answer);
    } else {
        std::vector<uint8_t> block(blocks::kReadDataRecordSize > blocks::kToneTableSize ? blocks::kReadDataRecordSize
                                                                                        : blocks::kToneTableSize);
        std::memcpy(block.data(), request.data() + 1, code == 1 ? sizes.request - 2 : sizes.request - 1);
        if (code == blocks::kReadImageData) {
            // The peer holds the read's lines in one buffer of its own.
            const uint32_t bytes = blocks::GetU32(block.data(), blocks::readdata::kBytes);
            scanner.image.assign(bytes, 0);
            blocks::PutU16(block.data(), blocks::readdata::kRecordCount, 1);
            uint8_t* entry = block.data() + blocks::readdata::kRecordTable;
            blocks::PutU32(entry, blocks::descriptor::kLength, bytes);
            blocks::PutU16(entry, blocks::descriptor::kLines, blocks::GetU16(block.data(), blocks::readdata::kLines));
            blocks::PutU32(entry, blocks::descriptor::kAddress, Scanner::kImageAddress);
        }
        sim::RequestRecord record = sim::HandleRequest(scanner.state, code, block.data());
        record.number = requests;
        std::string line = sim::FormatRequestLine(record);
        if (code == blocks::kSetScanParameters) line += " due=" + std::to_string(request[33]);
        if (code == blocks::kReadImageData) line += " bytes=" + std::to_string(scanner.image.size());
        Log(line);
        std::memcpy(reply.data() + 1, block.data(), sizes.reply - 1);
        if (code == blocks::kReadImageData) {
            // The whole read is sent, whatever the status (zeros when refused).
            imageData = scanner.image;
            if (control.Number("extra") == 1) imageData.push_back(0x5A);
            if (control.Number("short") == 1 && !imageData.empty()) imageData.pop_back();
        }
    }
    const long replyCode = control.Number("replycode");
    reply[0] = replyCode >= 0 ? static_cast<uint8_t>(replyCode) : code;
    if (control.Number("silent") == 1) {
        Log("SILENT F" + std::to_string(code));
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, -1);  // until the client gives up and closes
        return false;
    }
    if (control.Number("delay") > 0) usleep(static_cast<useconds_t>(control.Number("delay") * 1000));
    if (!imageData.empty() && !WriteAll(fd, imageData.data(), imageData.size(), control)) return false;
    if (control.Number("short") == 1 && code == blocks::kReadImageData) return false;  // fewer bytes, then the end
    return WriteAll(fd, reply.data(), reply.size(), control);
}

int UdpSocket(int port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::perror("lendaro-sim: udp bind");
        std::exit(1);
    }
    return fd;
}

int PortOf(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

void SendText(int fd, const std::string& text, const sockaddr_in& to) {
    sendto(fd, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

// One discovery datagram: the question gets the 5-character reply, the
// thanks gets the owner's name, both sent to the datagram's sender.
void Discovery(int udp, int secondPeer) {
    char text[1024];
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t got = recvfrom(udp, text, sizeof text - 1, 0, reinterpret_cast<sockaddr*>(&from), &length);
    if (got < 0) return;
    const std::string datagram(text, static_cast<size_t>(got));
    const Control control = ReadControl();
    const std::string mode = control.Get("discovery");
    Log("UDP " + datagram);
    if (mode == "silent") return;
    const std::string owner = control.Get("owner", g_options.owner);
    if (datagram == "Is there a orvane scanner?") {
        if (mode == "twopeers") SendText(secondPeer, "READY", from);
        SendText(udp, mode == "long" ? "READY!" : "READY", from);
        if (mode == "duplicate") SendText(udp, "READY", from);
    } else if (datagram == "thanks") {
        if (mode == "noowner") return;
        SendText(udp, owner, from);
        if (mode == "twopeers") SendText(secondPeer, "second", from);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--udp-port") g_options.udpPort = std::atoi(value.c_str());
        else if (key == "--tcp-port") g_options.tcpPort = std::atoi(value.c_str());
        else if (key == "--ports-file") g_options.portsFile = value;
        else if (key == "--control") g_options.controlFile = value;
        else if (key == "--log") g_options.logFile = value;
        else if (key == "--scanner") g_options.scannerFile = value;
        else if (key == "--owner") g_options.owner = value;
        else {
            std::fprintf(stderr, "lendaro-sim: unknown option %s\n", key.c_str());
            return 2;
        }
    }
    const int udp = UdpSocket(g_options.udpPort);
    const int secondPeer = UdpSocket(0);
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(g_options.tcpPort));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 4) != 0) {
        std::perror("lendaro-sim: tcp");
        return 1;
    }
    if (!g_options.portsFile.empty()) {
        const std::string temporary = g_options.portsFile + ".new";
        std::ofstream(temporary) << PortOf(udp) << " " << PortOf(listener) << "\n";
        std::rename(temporary.c_str(), g_options.portsFile.c_str());
    }

    Scanner scanner;
    scanner.Restart();
    int client = -1;
    uint32_t requests = 0;
    for (;;) {
        pollfd fds[3] = {{udp, POLLIN, 0}, {listener, POLLIN, 0}, {client, POLLIN, 0}};
        if (poll(fds, client >= 0 ? 3 : 2, -1) < 0 && errno != EINTR) return 1;
        if (fds[0].revents & POLLIN) Discovery(udp, secondPeer);
        if (fds[1].revents & POLLIN) {
            const int accepted = accept(listener, nullptr, nullptr);
            if (client >= 0) close(client);  // a new client replaces the old one
            client = accepted;
            setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            requests = 0;
            scanner.Restart();
            Log("CONNECTED");
        }
        if (client >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
            if (!Serve(client, scanner, requests)) {
                close(client);
                client = -1;
                Log("DISCONNECTED");
            }
        }
    }
}

// Scans of a scanner shared by another computer, served by lendaro-sim on
// loopback (tests/wine/with_lendaro.sh starts it). The local driver reports
// no scanner, so the source finds the peer; every image is compared with the
// same scan through the local driver.
#include <winsock2.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "device/driver_memory.h"
#include "engine/shading.h"
#include "prescan/prescan_entry.h"
#include "tests/wine/acquire_fixture.h"

namespace {

using namespace dstest;

struct Scan {
    TW_UINT16 pixelType;
    uint16_t dpi;
    float left, top, right, bottom;
};

const char kLost[] = "A3 Flatbed Scanner disconnects from Lendaro.\nIt can't share the remote scanner.";
const Scan kColour{TWPT_RGB, 100, 1, 1, 5, 4};

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A file of the simulator's folder, as this Windows program reaches it.
std::string PeerFile(const char* name) {
    std::string path = "Z:" + Env("LENDARO_DIR") + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void WritePeerFile(const char* name, const std::string& text) { std::ofstream(PeerFile(name), std::ios::trunc) << text; }

std::vector<std::string> PeerLog() {
    std::ifstream log(PeerFile("log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

// "F<code>" of every request the peer served since the log was cleared.
std::vector<std::string> PeerRequests() {
    std::vector<std::string> requests;
    for (const std::string& line : PeerLog()) {
        const size_t tag = line.find(" F");
        if (line.empty() || !isdigit(static_cast<unsigned char>(line[0])) || tag == std::string::npos) continue;
        const size_t end = line.find_first_of(". ", tag + 1);
        requests.push_back(line.substr(tag + 1, end - tag - 1));
    }
    return requests;
}

// A request order with the local calibration (size, read, send) standing for
// the peer's own, without the buffer descriptions the peer never sees, and
// each run of reads as one (remote reads are cut to the staging buffer).
std::vector<std::string> Comparable(const std::vector<std::string>& requests) {
    std::vector<std::string> order;
    for (const std::string& request : requests) {
        if (request == "BUF_ADDR" || request == "F2" || request == "F3") continue;
        if (request == "F8" && !order.empty() && order.back() == "F8") continue;
        order.push_back(request == "F7" ? "F10" : request);
    }
    return order;
}

// Whether the peer saw the connection end, within a few seconds.
bool PeerDisconnected() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const std::vector<std::string> log = PeerLog();
        if (!log.empty() && log.back() == "DISCONNECTED") return true;
        Sleep(100);
    }
    return false;
}

class RemoteTest : public AcquireTest {
protected:
    void SetUp() override {
        AcquireTest::SetUp();
        ASSERT_FALSE(Env("LENDARO_DIR").empty());
        SetProfile("A3 REMOTE", "Address", "127.0.0.1");
        SetProfile("A3 REMOTE", "ClientPort", "0");
        SetProfile("A3 REMOTE", "DiscoveryPort", Env("LENDARO_UDP").c_str());
        SetProfile("A3 REMOTE", "Port", Env("LENDARO_TCP").c_str());
        SetProfile("A3 REMOTE", "ReplyWait", "5");
        SetProfile("A3 REMOTE", "LongWait", "5");
        SetProfile("A3 REMOTE", "DiscoveryWait", "2");
        Misbehave("");
        WritePeerFile("log", "");
    }

    void Misbehave(const std::string& control) { WritePeerFile("control", control); }

    // Opens the source on the peer's scanner (the local driver, configured
    // by `driverKeys`, finds none).
    void ConnectRemote(const std::string& peerKeys = "", const std::string& driverKeys = "") {
        if (host.sourceOpen) {
            if (host.enabled) host.Disable();
            ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
        }
        WritePeerFile("scanner", kUniformSensor + peerKeys);
        SetScanner("InquiryStatus=0x1234\n" + driverKeys);
        if (!host.dsmOpen) {
            ASSERT_TRUE(host.OpenDsm("twtest"));
        }
        ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
        const std::vector<std::string> boxes = TakeMessages();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].find("You have no local scanner and a remote scanner is available"), 0u);
        WritePeerFile("log", "");
    }

    bool Ready(const Scan& scan, TW_UINT16 mechanism) {
        return ReadyUnattended(scan.pixelType, scan.dpi, mechanism, scan.left, scan.top, scan.right, scan.bottom);
    }

    // The image of `scan` by `mechanism`, as the host receives its bytes.
    std::vector<uint8_t> Take(const Scan& scan, TW_UINT16 mechanism) {
        const std::string path = TempPath("remote.bmp");
        if (mechanism == TWSX_FILE) ChooseFile(path, TWFF_BMP);
        std::vector<uint8_t> bytes;
        if (!Ready(scan, mechanism)) {
            ADD_FAILURE() << "not ready; messages: " << ::testing::PrintToString(TakeMessages())
                          << " peer: " << ::testing::PrintToString(PeerLog());
            return bytes;
        }
        if (mechanism == TWSX_NATIVE) {
            TW_HANDLE handle = 0;
            EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
            bytes = TakeDib(handle).rows;
        } else if (mechanism == TWSX_MEMORY) {
            bytes = TakeMemoryBlocks().rows;
        } else {
            EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
            bytes = ReadWholeFile(path);
        }
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        return bytes;
    }

    // A scan that fails before its image: the source asks to be closed.
    bool ScanRefused(const Scan& scan) {
        const bool ready = Ready(scan, TWSX_MEMORY);
        host.Pump(200);
        host.notificationsTaken = host.notifications.size();
        return !ready && !host.notifications.empty() && host.notifications.back() == MSG_CLOSEDSREQ;
    }

    // A memory transfer that the connection's loss ends.
    void ExpectLostDuringTransfer(const Scan& scan) {
        ASSERT_TRUE(Ready(scan, TWSX_MEMORY));
        const MemoryBlocks blocks = TakeMemoryBlocks();
        EXPECT_EQ(blocks.codes.back(), TWRC_FAILURE);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{kLost});
        EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
        EXPECT_EQ(SourceState(host), 7);
    }
};

TEST_F(RemoteTest, ScansThroughThePeerEqualLocalScansInEveryMechanism) {
    for (TW_UINT16 mechanism : {TWSX_NATIVE, TWSX_MEMORY, TWSX_FILE}) {
        SCOPED_TRACE(mechanism);
        Connect("");
        const std::vector<uint8_t> local = Take(kColour, mechanism);
        const std::vector<std::string> localOrder = Comparable(Requests());
        ConnectRemote();
        const std::vector<uint8_t> remote = Take(kColour, mechanism);
        ASSERT_FALSE(local.empty());
        EXPECT_TRUE(local == remote);
        EXPECT_EQ(Comparable(PeerRequests()), localOrder);
        EXPECT_TRUE(TakeMessages().empty());
    }
    // Closing the source ends the connection.
    host.Disable();
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
    EXPECT_TRUE(PeerDisconnected());
}

// The first scan asks the peer to calibrate for the colour group; once it has,
// the byte says no more. A "NO" stops the scan without a message.
TEST_F(RemoteTest, CalibrationDueByteAndRefusedCalibration) {
    ConnectRemote();
    Take(kColour, TWSX_MEMORY);
    Take(kColour, TWSX_MEMORY);
    std::vector<std::string> dues;
    for (const std::string& line : PeerLog())
        if (line.find(" F1.") != std::string::npos) dues.push_back(line.substr(line.find("due=")));
    EXPECT_EQ(dues, (std::vector<std::string>{"due=1", "due=0"}));

    Misbehave("on=10\ncalibration=NO\n");
    EXPECT_TRUE(ScanRefused(kColour));
    EXPECT_TRUE(TakeMessages().empty());
    Misbehave("");
    EXPECT_FALSE(Take(kColour, TWSX_MEMORY).empty());
}

// Every way the peer can break a read ends the transfer with the one message;
// the connection is closed and a new one scans again.
TEST_F(RemoteTest, BrokenReadsEndInTheLostMessageOnce) {
    for (const char* control : {"replycode=9\n", "replycode=77\n", "extra=1\n", "short=1\n", "close=1\n",
                                "reset=1\n", "silent=1\n"}) {
        SCOPED_TRACE(control);
        ConnectRemote();
        Misbehave(std::string("on=8\n") + control);
        ExpectLostDuringTransfer(kColour);
        EXPECT_TRUE(PeerDisconnected());
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        Misbehave("");
        EXPECT_TRUE(ScanRefused(kColour));  // the connection is not reopened
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{kLost});
        host.Disable();
        ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
    }
    ConnectRemote();
    EXPECT_FALSE(Take(kColour, TWSX_MEMORY).empty());
}

// The scanner's own statuses travel as they are; the connection stays.
TEST_F(RemoteTest, ScannerStatusesShowTheirMessagesAndTheNextScanWorks) {
    ConnectRemote("F8.1=0x8217\n");
    ASSERT_TRUE(Ready(kColour, TWSX_MEMORY));
    EXPECT_EQ(TakeMemoryBlocks().codes.back(), TWRC_FAILURE);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{" Paper Jammed in Automatic Document Feeder"});
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_FALSE(Take(kColour, TWSX_MEMORY).empty());

    // No paper on a read: the read is asked for once more and the image is
    // whole; a slow peer is waited for.
    ConnectRemote("F8.1=0x8321\n");
    Misbehave("on=8\ndelay=300\n");
    const std::vector<uint8_t> repeated = Take(kColour, TWSX_MEMORY);
    EXPECT_TRUE(TakeMessages().empty());
    Connect("");
    EXPECT_TRUE(Take(kColour, TWSX_MEMORY) == repeated);

    // An open cover refuses the scan parameters (the first function 1 of a
    // connection sets the lamp time-out).
    ConnectRemote("F1.2=0x8414\n");
    EXPECT_TRUE(ScanRefused(kColour));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{" Slide Scanner Cover not Closed!"});
}

// One-byte pieces fill a descriptor of more than 40,000 bytes (the driver
// describes the buffer as one).
TEST_F(RemoteTest, APeerWhoseScannerIsNeverReadyIsGivenUpAfterTheReadyWait) {
    SetProfile("A3 SCANNER", "ReadyWait", "2");
    WritePeerFile("scanner", kUniformSensor + "NeverReady=1\n");
    SetScanner("InquiryStatus=0x1234\n");
    ASSERT_TRUE(host.OpenDsm("twtest"));
    EXPECT_EQ(host.OpenSource(""), TWRC_FAILURE);
    const std::vector<std::string> boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].find("You have no local scanner and a remote scanner is available"), 0u);
    EXPECT_EQ(recorder.dialogs.size(), 1u);  // the not-ready notice, while the peer polled busy
    const std::vector<std::string> requests = PeerRequests();
    EXPECT_GE(std::count(requests.begin(), requests.end(), "F9"), 10);
}

TEST_F(RemoteTest, OneBytePiecesFillALargeRead) {
    const Scan wide{TWPT_RGB, 300, 1, 1, 5, 1.04f};
    Connect("");
    const std::vector<uint8_t> local = Take(wide, TWSX_MEMORY);
    ConnectRemote("", "Segments=1\n");
    Misbehave("on=8\nsplit=1\nsplitpause=10\n");
    EXPECT_TRUE(Take(wide, TWSX_MEMORY) == local);
    bool large = false;
    for (const std::string& line : PeerLog())
        if (line.find(" F8.") != std::string::npos) large |= std::stoul(line.substr(line.find("bytes=") + 6)) >= 40000;
    EXPECT_TRUE(large);
}

// Discovery: a silent network twice leaves the host's Winsock as it was;
// of two peers the first to answer is taken; the owner's name is cut.
TEST_F(RemoteTest, Discovery) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    Misbehave("discovery=silent\n");
    SetScanner("InquiryStatus=0x1234\n");
    ASSERT_TRUE(host.OpenDsm("twtest"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(host.OpenSource(""), TWRC_FAILURE);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, "SCANNERFlatbed Scanner not found.");
        recorder.boxes.clear();
    }
    // A first reply of the wrong length says there is no peer, an owner that
    // never comes is a time-out like silence.
    Misbehave("discovery=long\n");
    EXPECT_EQ(host.OpenSource(""), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(recorder.boxes[0].text, "There is no remote scanner!");
    EXPECT_EQ(recorder.boxes[1].caption, "SCANNERFlatbed Scanner not found.");
    recorder.boxes.clear();
    Misbehave("discovery=noowner\n");
    EXPECT_EQ(host.OpenSource(""), TWRC_FAILURE);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    recorder.boxes.clear();
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, 0);
    EXPECT_NE(probe, INVALID_SOCKET);
    closesocket(probe);
    EXPECT_EQ(WSACleanup(), 0);

    Misbehave("discovery=twopeers\nowner=first\n");
    EXPECT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_NE(recorder.boxes[0].text.find("The owner is: second\n"), std::string::npos);
    recorder.boxes.clear();
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);

    Misbehave("discovery=duplicate\nowner=An owner\x01 whose name runs on\n");
    EXPECT_EQ(host.OpenSource(""), TWRC_SUCCESS);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_NE(recorder.boxes[0].text.find("The owner is: An owner whose\n"), std::string::npos);
}

// The prescan module borrows a connection: here one the test makes itself.
class RemotePrescanTest : public RemoteTest {
protected:
    void SetUp() override {
        RemoteTest::SetUp();
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
        module = LoadLibraryA((InstallDir() + "\\PRESCAN.DLL").c_str());
        ASSERT_NE(module, nullptr);
        prescanImage =
            reinterpret_cast<PreScanImageFn>(reinterpret_cast<void*>(GetProcAddress(module, "PreScan_Image")));
        // The calibration record with the gain tables of the scanner's
        // references, below 4 GB as the data source keeps it.
        constexpr size_t kRecordSize = 656;
        const uint16_t references[3] = {2600, 2700, 2500};
        memory = AllocateDriverMemory(kRecordSize + 3 * shading::kGainEntries * 2);
        ASSERT_NE(memory, nullptr);
        std::memset(memory, 0, kRecordSize);
        for (int c = 0; c < 3; ++c) {
            const shading::GainTable gain = shading::BuildGainTable(references[c]);
            uint8_t* table = memory + kRecordSize + c * shading::kGainEntries * 2;
            std::memcpy(table, gain.data(), shading::kGainEntries * 2);
            blocks::PutU32(memory, 4 + 4 * c, BlockAddress(table));
        }
        WritePeerFile("scanner", kUniformSensor);
        SetScanner(kUniformSensor);
    }
    void TearDown() override {
        FreeDriverMemory(memory);
        if (module) FreeLibrary(module);
        WSACleanup();
        RemoteTest::TearDown();
    }

    SOCKET ConnectToPeer() {
        SOCKET peer = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(std::atoi(Env("LENDARO_TCP").c_str())));
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        EXPECT_EQ(connect(peer, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return peer;
    }

    PrescanResult Prescan(SOCKET peer) {
        blocks::PutU16(memory, 0, 1);  // a full calibration is due
        return prescanImage(nullptr, nullptr, 0, nullptr, nullptr, 0, 0, {0, 0, 17.0f}, memory, nullptr,
                            static_cast<uintptr_t>(peer));
    }

    HMODULE module = nullptr;
    PreScanImageFn prescanImage = nullptr;
    uint8_t* memory = nullptr;
};

// The preview through the peer is the local one; the connection stays open
// for its owner, who can go on using it.
TEST_F(RemotePrescanTest, ThePreviewThroughThePeerIsTheLocalOne) {
    const std::string preview = InstallDir() + "\\ORVC0000.BMP";
    const PrescanResult local = Prescan(0);
    const std::vector<uint8_t> localFile = ReadWholeFile(preview);
    ASSERT_FALSE(localFile.empty());
    EXPECT_EQ(local.words[kResultLinkLost], 0u);

    const SOCKET peer = ConnectToPeer();
    const PrescanResult remote = Prescan(peer);
    EXPECT_EQ(remote.words[kResultLinkLost], 0u);
    EXPECT_TRUE(ReadWholeFile(preview) == localFile);
    EXPECT_TRUE(recorder.boxes.empty());
    std::vector<std::string> order = PeerRequests();
    EXPECT_EQ(std::count(order.begin(), order.end(), "F10"), 1);
    EXPECT_EQ(std::count(order.begin(), order.end(), "F2") + std::count(order.begin(), order.end(), "F3"), 0);

    // The socket is still the owner's: a status request is answered on it.
    const char status[13] = {9};
    EXPECT_EQ(send(peer, status, sizeof status, 0), 13);
    char reply[13] = {};
    int got = 0, n = 0;
    while (got < 13 && (n = recv(peer, reply + got, 13 - got, 0)) > 0) got += n;
    EXPECT_EQ(got, 13);
    EXPECT_EQ(reply[0], 9);
    EXPECT_EQ(closesocket(peer), 0);
}

// A lost connection shows its box once, leaves no picture and is reported
// to the owner, who closes the socket; a refused calibration ends quietly.
TEST_F(RemotePrescanTest, LostConnectionAndRefusedCalibration) {
    const std::string preview = InstallDir() + "\\ORVC0000.BMP";
    SOCKET peer = ConnectToPeer();
    Misbehave("on=8\nreset=1\n");
    EXPECT_EQ(Prescan(peer).words[kResultLinkLost], 1u);
    EXPECT_FALSE(FileExists(preview));
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "A3 Flatbed Scanner");
    EXPECT_EQ(recorder.boxes[0].text, kLost);
    EXPECT_EQ(closesocket(peer), 0);
    recorder.boxes.clear();

    peer = ConnectToPeer();
    Misbehave("on=10\ncalibration=NO\n");
    EXPECT_EQ(Prescan(peer).words[kResultLinkLost], 0u);
    EXPECT_FALSE(FileExists(preview));
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(closesocket(peer), 0);
}

}  // namespace

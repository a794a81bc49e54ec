// End-to-end rate of a memory transfer of a full A3 bed (11.7 x 17 inches) in
// colour at 300 and 600 dpi, beside the raw rate of the simulated driver
// reading the same area, with the memory of the process.
//
// The raw driver: KVASPI_SP.DLL loaded by this program and asked for one scan
// in the order the scanner needs it (inquiry, status, scan parameters, the
// shading pass when the scanner asks for one, tone tables, StartScan, reads
// of whole buffers of at most 2 MB described by BUF_ADDR, status until ready)
// with nothing of the data source's own work. The data source: opened
// through the source manager by a host with its window on the screen, the
// frame negotiated, enabled without its user interface, then
// DAT_IMAGEMEMXFER into one host buffer (64 KB or 1 MB) until TWRC_XFERDONE;
// the rows are dropped, as a host that streams them would.
//
// Each case is measured on the first scan of a process and on the second one
// (driver and source bound, scanner calibrated, windows made once before).
// Every run is a process of its own (this program started with --case), so
// the peak working set belongs to that case alone. The parent runs the cases
// of a resolution in turn, so that a busy machine slows them alike, takes the
// best time of each and prints a table; it asserts nothing.
//
//   acquire_bench [--runs N]                       every case, N runs each (5)
//   acquire_bench --case raw DPI SCANS             one raw run of SCANS scans; the
//                                                  last one's result line
//   acquire_bench --case source DPI BYTES SCANS    the same with a host buffer of BYTES
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "device/driver_memory.h"
#include "device/request_blocks.h"
#include "device/tone_download.h"
#include "engine/buffer_sizing.h"
#include "engine/descriptor_table.h"
#include "engine/image_info.h"
#include "hostkit/host_session.h"
#include "hostkit/msgbox_recorder.h"
#include "settings/scan_settings.h"
#include "twain/fix32.h"

namespace {

constexpr float kBedWidth = 11.7f;  // inches
constexpr float kBedLength = 17.0f;
constexpr uint16_t kOpticalRate = 1200;  // the simulated scanner's default model
constexpr uint8_t kColourImageType = 3;
constexpr DWORD kReadyTimeoutMs = 120000;
constexpr int kMemorySamples = 64;  // samples of the private bytes in one transfer

// What one run measured. For the raw driver "setup" runs from the inquiry to
// StartScan, "transfer" is the reads and the wait until the scanner is ready;
// for the data source "setup" runs from MSG_ENABLEDS to MSG_XFERREADY,
// "transfer" from there to TWRC_XFERDONE.
struct RunResult {
    uint32_t pixels = 0;
    uint32_t lines = 0;
    uint32_t lineBytes = 0;
    uint32_t calls = 0;  // reads, or DAT_IMAGEMEMXFER calls
    double setupSeconds = 0;
    double transferSeconds = 0;
    double privateIdleMB = 0;      // before the scan is set up
    double privateReadyMB = 0;     // right before the first line is read
    double privateTransferMB = 0;  // the most during the transfer: samples, PeakPagefileUsage
    double peakWorkingSetMB = 0;   // the process's peak at the end
};

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

PROCESS_MEMORY_COUNTERS_EX Memory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters;
}

// Private bytes: PagefileUsage, the memory committed to the process alone
// (under Wine its anonymous resident memory; Wine leaves PrivateUsage 0 and
// reports the current value as PeakPagefileUsage, hence the samples).
double PrivateMB() { return Memory().PagefileUsage / 1048576.0; }
double PeakPrivateMB() { return Memory().PeakPagefileUsage / 1048576.0; }
double PeakWorkingSetMB() { return Memory().PeakWorkingSetSize / 1048576.0; }

std::string InstallDir() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\TWAIN_32\\KVSC_A3";
}

// The bed in the scanner's units, narrowed to a width the scanner accepts,
// as the data source's scan command narrows it.
bool BedFrame(uint16_t dpi, ScanFrame& frame) {
    const TW_FRAME layout{Fix32FromInt(0), Fix32FromInt(0), Fix32FromReal(kBedWidth), Fix32FromReal(kBedLength)};
    const auto optical = LayoutToOpticalFrame(layout, kOpticalRate, kBedWidth, kBedLength);
    if (!optical) return false;
    frame = *optical;
    return AcceptScanWidth(frame.left, frame.right, dpi, kOpticalRate, false);
}

// --- the raw driver ---------------------------------------------------------

struct Driver {
    HMODULE module = nullptr;
    uint32_t(WINAPI* addrChk)() = nullptr;
    void(WINAPI* spiCall)(uint8_t*, uint32_t, uint32_t) = nullptr;
    uint16_t(WINAPI* bufAddr)(uint8_t*, uint32_t, uint8_t*, uint16_t) = nullptr;
    uint32_t handle = 0;

    uint16_t Request(uint32_t function, uint8_t* block) {
        spiCall(block, handle, function);
        return blocks::GetU16(block, blocks::kStatus);
    }
};

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return fn != nullptr;
}

bool LoadDriver(Driver& driver) {
    driver.module = LoadLibraryA((InstallDir() + "\\KVASPI_SP.DLL").c_str());
    return driver.module && Resolve(driver.module, "ADDR_CHK", driver.addrChk) &&
           Resolve(driver.module, "SPI_CALL", driver.spiCall) && Resolve(driver.module, "BUF_ADDR", driver.bufAddr);
}

// Cuts every descriptor to the same whole number of lines, as the data source
// does; the lines one read can take, or 0.
uint32_t TrimDescriptors(uint8_t* table, uint16_t count, uint16_t lineBytes) {
    uint32_t lines = UINT32_MAX;
    for (uint16_t i = 0; i < count; ++i)
        lines = std::min(lines, blocks::GetU32(table + i * blocks::kDescriptorSize, blocks::descriptor::kLength) / lineBytes);
    if (count == 0 || lines == 0 || lines > 0xFFFF) return 0;
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t* entry = table + i * blocks::kDescriptorSize;
        blocks::PutU32(entry, blocks::descriptor::kLength, lines * lineBytes);
        blocks::PutU16(entry, blocks::descriptor::kLines, static_cast<uint16_t>(lines));
    }
    return lines * count;
}

// Driver memory (its address fits a block's 32-bit field) for one scope.
struct DriverBytes {
    uint8_t* bytes;
    explicit DriverBytes(size_t size) : bytes(AllocateDriverMemory(size)) {}
    ~DriverBytes() { FreeDriverMemory(bytes); }
    DriverBytes(const DriverBytes&) = delete;
    DriverBytes& operator=(const DriverBytes&) = delete;
};

constexpr size_t kTableBytes = blocks::kMaxDescriptors * blocks::kDescriptorSize;

// A buffer the driver describes, for the shading and image reads, with its
// descriptor table behind it; the descriptors are checked to lie inside it.
struct DescribedBuffer {
    std::unique_ptr<DriverBytes> memory;
    uint8_t* bytes = nullptr;
    uint8_t* table = nullptr;
    uint16_t count = 0;

    bool Allocate(Driver& driver, uint32_t size, uint16_t lineBytes) {
        memory = std::make_unique<DriverBytes>(size_t{size} + kTableBytes);
        bytes = memory->bytes;
        if (!bytes) return false;
        table = bytes + size;
        count = driver.bufAddr(bytes, size, table, lineBytes);
        return count != 0 && descriptors::InsideBuffer(table, count, BlockAddress(bytes), size);
    }
};

// The scanner's white reference read, and correction values sent back: the
// reference level of the inquiry for every sample (what a scan needs from the
// driver, without the data source's averaging).
bool Calibrate(Driver& driver, uint16_t dpi, uint16_t referenceLevel) {
    uint8_t size[blocks::kShadingSizeSize] = {};
    blocks::PutU16(size, blocks::shadingsize::kOne, 1);
    if (driver.Request(blocks::kGetShadingSize, size) != 0) return false;
    const uint16_t lineBytes = blocks::GetU16(size, blocks::shadingsize::kLineBytes);
    const uint16_t lines = blocks::GetU16(size, blocks::shadingsize::kLines);
    if (lineBytes < 8 || lines == 0) return false;  // colour: a 6-byte header and at least one pixel

    DescribedBuffer white;
    const uint32_t whiteSize = FirstBufferSize(lineBytes, lines, true, kShadingBufferCap);
    if (!white.Allocate(driver, whiteSize, lineBytes) ||
        descriptors::TrimToWholeLines(white.table, white.count, lineBytes) < lines)
        return false;
    uint8_t read[blocks::kReadShadingSize] = {};
    blocks::FillReadShading(read, dpi, lineBytes, lines, white.count, BlockAddress(white.table));
    if (driver.Request(blocks::kReadShadingData, read) != 0) return false;

    const auto values = static_cast<uint16_t>((lineBytes - 6) / 2);
    DescribedBuffer high, low;
    if (!high.Allocate(driver, values, values) || !low.Allocate(driver, values, values)) return false;
    std::memset(high.bytes, referenceLevel >> 8, values);
    std::memset(low.bytes, referenceLevel & 0xFF, values);
    uint8_t send[blocks::kSendShadingSize] = {};
    blocks::FillSendShading(send, dpi, values, high.count, BlockAddress(high.table), low.count,
                            BlockAddress(low.table));
    return driver.Request(blocks::kSendShadingData, send) == 0;
}

// Identity tone tables for the three colour channels.
bool SendIdentityToneTables(Driver& driver) {
    std::vector<uint8_t> block(blocks::kToneTableSize);
    tone::ScanToneTables tables;
    tone::ResetScanToneTables(tables);
    block[blocks::tonetable::kSelector] = blocks::tonetable::kThreeTables;
    const int slotChannels[4] = {0, 0, 1, 2};  // red, red, green, blue, as the source fills them
    for (int slot = 0; slot < 4; ++slot)
        tone::FillToneSlot(block.data(), slot, tables.user[slotChannels[slot]], true);
    return driver.Request(blocks::kSendToneTable, block.data()) == 0;
}

bool PollUntilReady(Driver& driver) {
    uint8_t status[blocks::kStatusSize] = {};
    for (;;) {
        if (driver.Request(blocks::kGetStatus, status) != 0 || blocks::GetU16(status, blocks::status::kFault) != 0)
            return false;
        if (blocks::GetU16(status, blocks::status::kReady) != 0) return true;
        Sleep(1);
    }
}

// One scan the way the driver needs it, with nothing of the data source's
// own: inquiry, ready, parameters, the shading pass when the scanner asks
// for it, tone tables, start, the reads into one buffer of at most 2 MB, and
// the wait until the scanner is ready again.
bool RawScan(Driver& driver, uint16_t dpi, const ScanFrame& frame, RunResult& result) {
    result.privateIdleMB = PrivateMB();

    namespace sp = blocks::scanparam;
    uint8_t inquiry[blocks::kInquirySize] = {};
    uint8_t parameters[blocks::kScanParameterSize] = {};
    blocks::PutU16(parameters, sp::kLeft, frame.left);
    blocks::PutU16(parameters, sp::kTop, frame.top);
    blocks::PutU16(parameters, sp::kRight, frame.right);
    blocks::PutU16(parameters, sp::kBottom, frame.bottom);
    parameters[sp::kConstantOne] = 1;
    parameters[sp::kImageType] = kColourImageType;
    blocks::PutU16(parameters, sp::kResolution, dpi);
    uint8_t start[blocks::kStartScanSize] = {};

    const double started = Now();
    if (driver.Request(blocks::kInquiry, inquiry) != 0 || !PollUntilReady(driver)) return false;
    if (driver.Request(blocks::kSetScanParameters, parameters) != 0) return false;
    const uint16_t referenceLevel = blocks::GetU16(inquiry, blocks::inquiry::kReferenceLevels);
    if (parameters[sp::kShadingNeeded] == 1 && !Calibrate(driver, dpi, referenceLevel)) return false;
    if (!SendIdentityToneTables(driver)) return false;
    if (driver.Request(blocks::kStartScan, start) != 0) return false;
    result.lines = blocks::GetU16(start, blocks::startscan::kLines);
    const uint16_t lineBytes = blocks::GetU16(start, blocks::startscan::kBytesPerLine);
    result.lineBytes = lineBytes;
    result.pixels = lineBytes / 3;
    if (lineBytes == 0) return false;

    DescribedBuffer image;
    const uint32_t size = FirstBufferSize(lineBytes, result.lines, true, kScanBufferCap);
    const uint32_t perRead =
        image.Allocate(driver, size, lineBytes) ? TrimDescriptors(image.table, image.count, lineBytes) : 0;
    DriverBytes record(blocks::kReadDataRecordSize);
    if (!record.bytes) return false;
    uint8_t* read = record.bytes;
    uint8_t* table = read + blocks::readdata::kRecordTable;
    if (perRead != 0) std::memcpy(table, image.table, kTableBytes);
    blocks::PutU16(read, blocks::readdata::kRecordCount, image.count);
    blocks::PutU16(read, blocks::readdata::kDescriptorCount, image.count);
    blocks::PutU32(read, blocks::readdata::kTable, BlockAddress(table));
    result.privateReadyMB = result.privateTransferMB = PrivateMB();

    const double reading = Now();
    bool ok = perRead != 0;
    for (uint32_t done = 0; ok && done < result.lines; ++result.calls) {
        const auto lines = static_cast<uint16_t>(std::min(perRead, result.lines - done));
        blocks::PutU16(read, blocks::readdata::kBytesPerLine, lineBytes);
        blocks::PutU16(read, blocks::readdata::kLines, lines);
        blocks::PutU32(read, blocks::readdata::kBytes, uint32_t{lines} * lineBytes);
        blocks::PutU16(read, blocks::readdata::kLinesDone, static_cast<uint16_t>(done));
        ok = driver.Request(blocks::kReadImageData, read) == 0;
        done += lines;
    }
    ok = ok && PollUntilReady(driver);
    const double finished = Now();
    result.setupSeconds = reading - started;
    result.transferSeconds = finished - reading;
    result.privateTransferMB = std::max({result.privateTransferMB, PrivateMB(), PeakPrivateMB()});
    result.peakWorkingSetMB = PeakWorkingSetMB();
    return ok;
}

// `scans` scans with the driver bound once; the result is the last one's.
bool RunRaw(uint16_t dpi, int scans, RunResult& result) {
    Driver driver;
    ScanFrame frame;
    if (!LoadDriver(driver) || !BedFrame(dpi, frame)) return false;
    driver.handle = driver.addrChk();
    bool ok = true;
    for (int scan = 0; ok && scan < scans; ++scan) {
        result = RunResult{};
        ok = RawScan(driver, dpi, frame, result);
    }
    FreeLibrary(driver.module);
    return ok;
}

// --- the data source ----------------------------------------------------------

bool Negotiate(HostSession& host, uint16_t dpi) {
    const TW_UINT32 resolution = Fix32ToContainer(Fix32FromInt(dpi));
    return host.SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB) == TWRC_SUCCESS &&
           host.SetOneValue(ICAP_XRESOLUTION, TWTY_FIX32, resolution) == TWRC_SUCCESS &&
           host.SetOneValue(ICAP_YRESOLUTION, TWTY_FIX32, resolution) == TWRC_SUCCESS &&
           host.SetOneValue(ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY) == TWRC_SUCCESS &&
           host.SetFrame(0, 0, kBedWidth, kBedLength) == TWRC_SUCCESS;
}

// Blocks into the host buffer until TWRC_XFERDONE; false on any other answer
// or a block that is not the next rows of the image.
bool TakeBlocks(HostSession& host, std::vector<uint8_t>& buffer, RunResult& result) {
    const auto bufferBytes = static_cast<uint32_t>(buffer.size());
    const uint32_t sampleEvery = std::max<uint32_t>(1, result.lines / kMemorySamples);
    uint32_t rows = 0, nextSample = 0;
    for (;;) {
        TW_IMAGEMEMXFER block{};
        block.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
        block.Memory.Length = bufferBytes;
        block.Memory.TheMem = TwainRef(buffer.data());
        const TW_UINT16 rc = host.Ds(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &block);
        ++result.calls;
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) return false;
        if (block.YOffset != rows || block.BytesWritten != block.Rows * result.lineBytes) return false;
        rows += block.Rows;
        if (rows >= nextSample) {
            result.privateTransferMB = std::max(result.privateTransferMB, PrivateMB());
            nextSample += sampleEvery;
        }
        if (rc == TWRC_XFERDONE) return rows == result.lines;
    }
}

// An imaging application has its window on the screen, with text in it, and
// has shown dialogs of its own before it asks for a scan. What the first
// window and the first dialog of a process cost under Wine (the display
// connection, the dialog class, the dialog font: about 15 ms here) is the
// application's, not the source's.
INT_PTR CALLBACK HostDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

#pragma pack(push, 2)
struct HostDialogTemplate {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title, pointSize;
    WCHAR face[13];
};
#pragma pack(pop)

void PumpHostMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void ShowHostWindows(HWND window) {
    CreateWindowExA(0, "STATIC", "acquire_bench", WS_CHILD | WS_VISIBLE, 8, 8, 200, 20, window, nullptr, nullptr,
                    nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    PumpHostMessages();

    HostDialogTemplate form{};
    form.dialog.style = DS_SETFONT | WS_POPUP | WS_CAPTION;
    form.dialog.cx = 100;
    form.dialog.cy = 40;
    form.pointSize = 8;
    lstrcpyW(form.face, L"MS Shell Dlg");
    HWND dialog = CreateDialogIndirectParamA(nullptr, &form.dialog, window, HostDialogProc, 0);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    PumpHostMessages();
    DestroyWindow(dialog);
    PumpHostMessages();
}

// One scan of the open source: enabled without its user interface, every
// block taken, the transfer ended (the source is back in state 5).
bool SourceScan(HostSession& host, std::vector<uint8_t>& buffer, RunResult& result) {
    result.privateIdleMB = PrivateMB();
    const double started = Now();
    if (host.Enable(false) != TWRC_SUCCESS || host.WaitForNotification(kReadyTimeoutMs) != MSG_XFERREADY) return false;
    const double ready = Now();
    result.privateReadyMB = result.privateTransferMB = PrivateMB();

    TW_IMAGEINFO info{};
    if (host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info) != TWRC_SUCCESS || info.BitsPerPixel != 24) return false;
    result.pixels = static_cast<uint32_t>(info.ImageWidth);
    result.lines = static_cast<uint32_t>(info.ImageLength);
    result.lineBytes = result.pixels * 3;
    const bool taken = TakeBlocks(host, buffer, result);
    const double finished = Now();
    result.setupSeconds = ready - started;
    result.transferSeconds = finished - ready;
    result.privateTransferMB = std::max({result.privateTransferMB, PrivateMB(), PeakPrivateMB()});
    result.peakWorkingSetMB = PeakWorkingSetMB();

    TW_PENDINGXFERS pending{};
    return host.Ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending) == TWRC_SUCCESS && taken;
}

// `scans` scans with the source opened once; the result is the last one's.
bool RunSource(uint16_t dpi, uint32_t bufferBytes, int scans, RunResult& result) {
    MessageBoxRecorder recorder;
    recorder.Start();
    HostSession host;
    if (!host.OpenDsm("acquire_bench") || host.OpenSource("") != TWRC_SUCCESS || !Negotiate(host, dpi)) return false;
    ShowHostWindows(host.parent);
    std::vector<uint8_t> buffer(bufferBytes, 1);  // touched, so that it counts from here on
    bool ok = true;
    for (int scan = 0; ok && scan < scans; ++scan) {
        if (host.enabled) host.Disable();
        result = RunResult{};
        ok = SourceScan(host, buffer, result);
    }
    recorder.Stop();
    for (const RecordedBox& box : recorder.boxes) std::fprintf(stderr, "message box: %s\n", box.text.c_str());
    return ok && recorder.boxes.empty();
}

// --- one case in this process -------------------------------------------------

const char kResultFormat[] = "result %u %u %u %u %lf %lf %lf %lf %lf %lf\n";

int RunCase(int argc, char** argv) {
    RunResult result;
    const bool raw = argc == 5 && std::strcmp(argv[2], "raw") == 0;
    const bool source = argc == 6 && std::strcmp(argv[2], "source") == 0;
    if (!raw && !source) return 2;
    const auto dpi = static_cast<uint16_t>(std::atoi(argv[3]));
    const int scans = std::max(1, std::atoi(argv[argc - 1]));
    if (!(raw ? RunRaw(dpi, scans, result)
              : RunSource(dpi, static_cast<uint32_t>(std::atol(argv[4])), scans, result))) {
        std::fprintf(stderr, "%s %u dpi: the run failed\n", argv[2], unsigned{dpi});
        return 1;
    }
    std::printf(kResultFormat, result.pixels, result.lines, result.lineBytes, result.calls, result.setupSeconds,
                result.transferSeconds, result.privateIdleMB, result.privateReadyMB, result.privateTransferMB,
                result.peakWorkingSetMB);
    return 0;
}

// --- the parent: every case in child processes -------------------------------

// Runs this program with `arguments` and reads its result line.
bool RunChild(const std::string& arguments, RunResult& result) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = "\"" + std::string(self) + "\" --case " + arguments;

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    char chunk[512];
    DWORD got = 0;
    while (started && ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0) output.append(chunk, got);
    CloseHandle(readEnd);
    if (!started) return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    const size_t at = output.find("result ");
    return exitCode == 0 && at != std::string::npos &&
           std::sscanf(output.c_str() + at, kResultFormat, &result.pixels, &result.lines, &result.lineBytes,
                       &result.calls, &result.setupSeconds, &result.transferSeconds, &result.privateIdleMB,
                       &result.privateReadyMB, &result.privateTransferMB, &result.peakWorkingSetMB) == 10;
}

// The run of least total time (a busy machine only ever adds to a time); the
// memory figures are the largest of all runs.
RunResult Summary(const std::vector<RunResult>& runs) {
    RunResult best = *std::min_element(runs.begin(), runs.end(), [](const RunResult& a, const RunResult& b) {
        return a.setupSeconds + a.transferSeconds < b.setupSeconds + b.transferSeconds;
    });
    for (const RunResult& run : runs) {
        best.privateReadyMB = std::max(best.privateReadyMB, run.privateReadyMB);
        best.privateTransferMB = std::max(best.privateTransferMB, run.privateTransferMB);
        best.peakWorkingSetMB = std::max(best.peakWorkingSetMB, run.peakWorkingSetMB);
    }
    return best;
}

// The cases of one resolution and scan: the raw driver, then the data source
// with each host buffer. The first scan of a process is measured, or the
// second, when the driver and the source are already bound, the scanner
// calibrated for the mode and resolution, and the source's windows have been
// made once.
struct Case {
    std::string name;
    std::string arguments;
    std::vector<RunResult> runs;
};

std::vector<Case> CasesAt(int dpi, int scans) {
    const std::string at = std::to_string(dpi);
    const std::string which = scans == 1 ? " first" : " next";
    const std::string count = " " + std::to_string(scans);
    return {{"raw " + at + which, "raw " + at + count, {}},
            {"source " + at + " 64K" + which, "source " + at + " 65536" + count, {}},
            {"source " + at + " 1M" + which, "source " + at + " 1048576" + count, {}}};
}

double ImageMB(const RunResult& r) { return double(r.lineBytes) * r.lines / 1e6; }

void PrintRow(const char* name, const RunResult& r, const RunResult& raw) {
    const double total = r.setupSeconds + r.transferSeconds;
    const double rawTotal = raw.setupSeconds + raw.transferSeconds;
    std::printf("%-21s %5u x %5u %6.1f %6d %7.3f %7.3f %7.3f %7.1f %7.1f %+6.0f%% %+6.0f%% %7.1f %7.1f %7.1f %7.1f\n",
                name, r.pixels, r.lines, ImageMB(r), static_cast<int>(r.calls), r.setupSeconds, r.transferSeconds,
                total, ImageMB(r) / total, ImageMB(r) / r.transferSeconds, 100 * (total / rawTotal - 1),
                100 * (r.transferSeconds / raw.transferSeconds - 1), r.privateIdleMB, r.privateReadyMB,
                r.privateTransferMB, r.peakWorkingSetMB);
}

// The simulated scanner without its request log, so that neither side pays
// for a file write per driver call.
void ConfigureScanner() {
    std::ofstream ini(InstallDir() + "\\KVASPI_SP.INI", std::ios::trunc);
    ini << "[Scanner]\nLog=0\n";
}

int RunAll(int runs) {
    ConfigureScanner();
    std::printf("Full A3 bed (%.1f x %.1f in) in 24-bit colour, memory transfer; best of %d runs, each its own "
                "process, the cases taken in turn.\n",
                kBedWidth, kBedLength, runs);
    std::printf("setup: raw = inquiry to StartScan (parameters, shading, tone tables), source = MSG_ENABLEDS to "
                "MSG_XFERREADY\n");
    std::printf("xfer: raw = ReadImageData of 2 MB buffers and the ready poll, source = MSG_XFERREADY to "
                "TWRC_XFERDONE\n");
    std::printf("private MB: before the scan / right before the first line / most during the transfer; "
                "peak WS = peak working set\n\n");
    std::printf("%-21s %13s %6s %6s %7s %7s %7s %7s %7s %7s %7s %7s %7s %7s %7s\n", "case", "image", "MB", "calls",
                "setup s", "xfer s", "total s", "MB/s", "xferMB/s", "+total", "+xfer", "idle", "ready", "during",
                "peak WS");
    for (int scans : {1, 2}) {
        for (int dpi : {300, 600}) {
            std::vector<Case> cases = CasesAt(dpi, scans);
            for (int run = 0; run < runs; ++run) {
                for (Case& c : cases) {
                    RunResult result;
                    if (!RunChild(c.arguments, result)) {
                        std::printf("%s: failed\n", c.name.c_str());
                        return 1;
                    }
                    c.runs.push_back(result);
                }
            }
            const RunResult raw = Summary(cases.front().runs);
            for (const Case& c : cases) PrintRow(c.name.c_str(), Summary(c.runs), raw);
        }
    }
    std::printf("\n+total: source total time over the raw total; +xfer: source transfer over the raw reads.\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--case") == 0) return RunCase(argc, argv);
    int runs = 5;
    if (argc == 3 && std::strcmp(argv[1], "--runs") == 0) runs = std::max(1, std::atoi(argv[2]));
    return RunAll(runs);
}

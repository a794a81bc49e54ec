// PRESCAN.DLL: PreScan_Image scans the whole bed in colour at 30 or 60 dpi
// through a driver binding of its own and writes the preview bitmap
// ORVC0000.BMP into the installation directory. Every call is self-contained:
// bind, open, calibrate, scan, write, unbind.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "device/driver_entries.h"
#include "device/driver_memory.h"
#include "device/inquiry.h"
#include "device/remote_link.h"
#include "device/remote_messages.h"
#include "device/socket_error_names.h"
#include "device/request_blocks.h"
#include "device/tone_download.h"
#include "device/window_placement.h"
#include "engine/buffer_sizing.h"
#include "engine/descriptor_table.h"
#include "engine/driver_buffer.h"
#include "engine/file_headers.h"
#include "engine/row_output.h"
#include "engine/shading.h"
#include "prescan/prescan_entry.h"
#include "prescan/prescan_plan.h"
#include "resources/prescan_ids.h"
#include "settings/scan_settings.h"
#include "twain/platform.h"

namespace {

HINSTANCE g_module = nullptr;

// Byte layout of the data source's calibration record.
constexpr size_t kRecordFlag = 0;
constexpr size_t kRecordGainTables = 4;
constexpr size_t kRecordHighTable = 16;
constexpr size_t kRecordLowTable = 336;

constexpr uint8_t kShadingKindColour = 2;
constexpr shading::Trim kPrescanTrim = {3, 3};

constexpr DWORD kPollInterval = 50;            // ms between status polls while warming up
constexpr DWORD kIdlePollInterval = 1000;      // ms between polls after the last line
constexpr DWORD kGiveUpAfter = 5 * 60 * 1000;  // no scanner stays busy longer
constexpr uint32_t kNonDefaultMinimum = 0x20000;
constexpr uint64_t kDiskReserve = 1078;

// The request blocks of one call, in driver memory, with room for the two
// descriptor tables of a resend.
struct Blocks : RequestBlocks {
    uint8_t resendHigh[kDescriptorTableBytes];
    uint8_t resendLow[kDescriptorTableBytes];
};

// The state of one call.
struct Call {
    HWND owner = nullptr;
    int base = 0;          // string base: language index x 50
    RemoteLink link;       // the data source's connection, borrowed; no socket = local
    HMODULE driver = nullptr;
    AddrChkFn addrChk = nullptr;
    SpiCallFn spiCall = nullptr;
    BufAddrFn bufAddr = nullptr;
    bool defaultDriver = false;
    uint32_t handle = 0;
    Blocks* blocks = nullptr;
    uint16_t opticalResolution = 0;
    HWND notice = nullptr;
};

// ---- Paths and settings ----

std::string InstallDirectory() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\" + kSourcesFolder + "\\KVSC_A3";
}

std::string ProfileText(const char* section, const char* key, const char* fallback) {
    char value[256] = {};
    GetProfileStringA(section, key, fallback, value, sizeof value);
    return value;
}

// ---- Texts and messages ----

std::wstring Text(const Call& call, int number) {
    wchar_t text[256] = {};
    LoadStringW(g_module, static_cast<UINT>(call.base + number), text, 256);
    return text;
}

// 4 and 5: the checklist, captioned with the message itself; every other
// number: its text under the brand and model caption, system-modal.
void ShowPrescanMessage(const Call& call, int number) {
    if (number == PS_NOT_READY || number == PS_NOT_FOUND) {
        std::wstring text;
        for (int line = PS_CHECKLIST_FIRST; line <= PS_CHECKLIST_LAST; ++line) text += Text(call, line);
        MessageBoxW(call.owner, text.c_str(), Text(call, number).c_str(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::string brand = ProfileText("KVSINFO_A3", "BRAND", "SCANNER");
    std::wstring caption(brand.begin(), brand.end());
    caption += L" " + Text(call, PS_MODEL);
    MessageBoxW(call.owner, Text(call, number).c_str(), caption.c_str(), MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
}

int MessageForStatus(uint16_t status) {
    switch (status) {
        case blocks::kPaperJam:
            return PS_PAPER_JAM;
        case blocks::kNoPaper:
            return PS_NO_PAPER;
        case blocks::kCoverOpen:
            return PS_COVER_OPEN;
        default:
            return PS_NOT_READY;
    }
}

// ---- Notices ----

INT_PTR CALLBACK NoticeProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void OpenNotice(Call& call, int english, int first, int language) {
    const int id = language >= 1 && language <= 7 ? first + language - 1 : english;
    call.notice = CreateDialogParamW(g_module, MAKEINTRESOURCEW(id), nullptr, NoticeProc, 0);
    if (!call.notice) return;
    PlaceAtUpperThird(call.notice);
    ShowWindow(call.notice, SW_SHOWNOACTIVATE);
    UpdateWindow(call.notice);
}

void CloseNotice(Call& call) {
    if (call.notice) DestroyWindow(call.notice);
    call.notice = nullptr;
}

// ---- Driver ----

bool BindDriver(Call& call) {
    const std::string name = ProfileText("KVSINFO_A3", "DRIVER", "KVASPI_SP.DLL");
    const std::string path = InstallDirectory() + "\\" + name;
    call.defaultDriver = path.compare(path.find_last_of('\\') + 1, std::string::npos, "KVASPI_SP.DLL") == 0;
    HMODULE module = LoadLibraryA(path.c_str());
    if (reinterpret_cast<uintptr_t>(module) < 32) return false;
    auto entry = [module](const char* entryName) { return reinterpret_cast<void*>(GetProcAddress(module, entryName)); };
    call.addrChk = reinterpret_cast<AddrChkFn>(entry("ADDR_CHK"));
    call.spiCall = reinterpret_cast<SpiCallFn>(entry("SPI_CALL"));
    call.bufAddr = reinterpret_cast<BufAddrFn>(entry("BUF_ADDR"));
    call.driver = module;
    return call.addrChk && call.spiCall && call.bufAddr;
}

bool Remote(const Call& call) { return call.link.socket != INVALID_SOCKET; }

// A socket error's name, captioned as this module's side of the connection.
void ShowSocketError(int code) {
    MessageBoxA(GetActiveWindow(), SocketErrorName(code), code == 10035 ? "SERVER" : "CLIENT", MB_OK);
}

// One request on its block, through the driver or over the borrowed
// connection. A failed transport shows its box once; the connection is left
// to the data source, which learns of the loss from the result.
bool Request(Call& call, uint32_t function, uint8_t* block) {
    if (!Remote(call)) {
        call.spiCall(block, call.handle, function);
        return true;
    }
    if (call.link.lost) return false;
    if (RemoteSend(call.link, function, block, 0) && RemoteReceive(call.link, function, block)) return true;
    MessageBoxW(nullptr, L"A3 Flatbed Scanner disconnects from Lendaro.\nIt can't share the remote scanner.",
                L"A3 Flatbed Scanner", MB_OK);
    call.link.lost = true;
    return false;
}

// A failure during the scan: its message (0 for none) and the scanner stopped.
bool StopWith(Call& call, int message) {
    if (message != 0) ShowPrescanMessage(call, message);
    Request(call, blocks::kStopScan, call.blocks->stop);
    return false;
}

// A request whose nonzero status shows its device message and stops the
// scanner.
bool RequestOrStop(Call& call, uint32_t function, uint8_t* block) {
    if (!Request(call, function, block)) return false;
    const uint16_t status = blocks::GetU16(block, blocks::kStatus);
    return status == 0 || StopWith(call, MessageForStatus(status));
}

struct Poll {
    bool ok;
    uint16_t fault;
    uint16_t ready;
};

Poll PollStatus(Call& call) {
    uint8_t* block = call.blocks->status;
    if (!Request(call, blocks::kGetStatus, block)) return {false, 0, 0};
    return {true, blocks::GetU16(block, blocks::status::kFault), blocks::GetU16(block, blocks::status::kReady)};
}

// Polls until the ready word is nonzero, `interval` ms apart (the first poll
// at once, or after one interval when `sleepFirst`). A fault, or a scanner
// that stays busy for 5 minutes, shows the not-ready message and fails.
// `language` >= 0 opens the not-ready notice while the scanner is busy.
bool PollUntilReady(Call& call, DWORD interval, bool sleepFirst, int language) {
    const DWORD start = GetTickCount();
    for (bool first = true;; first = false) {
        if (!first || sleepFirst) Sleep(interval);
        const Poll poll = PollStatus(call);
        if (poll.ok && poll.fault == 0 && poll.ready != 0) break;
        const bool expired = GetTickCount() - start >= kGiveUpAfter;
        if (!poll.ok || poll.fault != 0 || expired) {
            CloseNotice(call);
            if (poll.ok) ShowPrescanMessage(call, PS_NOT_READY);
            return false;
        }
        if (language >= 0 && !call.notice) OpenNotice(call, PS_IDD_NOT_READY_EN, PS_IDD_NOT_READY_FIRST, language);
    }
    CloseNotice(call);
    return true;
}

bool OpenScanner(Call& call, int language) {
    call.handle = call.addrChk();
    if (call.handle == 0) {
        ShowPrescanMessage(call, PS_NOT_READY);
        return false;
    }
    uint8_t* inquiry = call.blocks->inquiry;
    std::memset(inquiry + blocks::inquiry::kIdentity, 0, blocks::inquiry::kIdentityLength);
    if (!Request(call, blocks::kInquiry, inquiry)) return false;
    const uint16_t status = blocks::GetU16(inquiry, blocks::kStatus);
    if (status != 0) {
        ShowPrescanMessage(call, status == blocks::inquiry::kNotReady ? PS_NOT_READY : PS_NOT_FOUND);
        return false;
    }
    if (!PollUntilReady(call, kPollInterval, false, language)) return false;
    call.opticalResolution = OpticalResolutionFromCode(inquiry);
    return call.opticalResolution != 0;
}

// ---- Calibration ----

// Counts the descriptors at the head of a record table (unused entries are zero).
uint16_t DescriptorsIn(const uint8_t* table) {
    uint16_t count = 0;
    while (count < blocks::kMaxDescriptors &&
           blocks::GetU32(table + count * blocks::kDescriptorSize, blocks::descriptor::kLength) != 0)
        ++count;
    return count;
}

bool SendShading(Call& call, uint16_t resolution, uint32_t values, const uint8_t* highTable, uint16_t highCount,
                 const uint8_t* lowTable, uint16_t lowCount) {
    uint8_t* block = call.blocks->sendShading;
    blocks::FillSendShading(block, resolution, values, highCount, BlockAddress(highTable), lowCount,
                            BlockAddress(lowTable));
    return RequestOrStop(call, blocks::kSendShadingData, block);
}

// The white reference: GetShadingSize, a described read buffer, ReadShadingData.
bool ReadWhiteLines(Call& call, uint16_t resolution, uint16_t& lineBytes, uint16_t& lines,
                    std::vector<uint8_t>& white) {
    uint8_t* size = call.blocks->shadingSize;
    blocks::PutU16(size, blocks::shadingsize::kOne, 1);
    if (!RequestOrStop(call, blocks::kGetShadingSize, size)) return false;
    lineBytes = blocks::GetU16(size, blocks::shadingsize::kLineBytes);
    lines = blocks::GetU16(size, blocks::shadingsize::kLines);
    const uint32_t total = uint32_t{lineBytes} * lines;
    if (!shading::UsableShadingGeometry(lineBytes, lines, kPrescanTrim) ||
        shading::ResendCount(shading::Group::kColour, lineBytes) == 0 ||
        FirstBufferSize(lineBytes, lines, call.defaultDriver, kShadingBufferCap) < total) {
        ShowPrescanMessage(call, PS_NOT_READY);
        return false;
    }
    DriverBuffer buffer;
    bool ok = AllocateDriverBuffer(buffer, FirstBufferSize(lineBytes, lines, call.defaultDriver, kShadingBufferCap),
                                   lineBytes, total, call.defaultDriver) &&
              DescribeDriverBuffer(buffer, lineBytes, call.bufAddr) &&
              descriptors::TrimToWholeLines(buffer.table, buffer.count, lineBytes) >= lines;
    if (ok) {
        uint8_t* block = call.blocks->readShading;
        blocks::FillReadShading(block, resolution, lineBytes, lines, buffer.count, BlockAddress(buffer.table));
        ok = RequestOrStop(call, blocks::kReadShadingData, block);
        if (ok && !descriptors::GatherLines(buffer.bytes, BlockAddress(buffer.bytes), buffer.size, buffer.table,
                                            buffer.count, lineBytes, lines, white)) {
            ShowPrescanMessage(call, PS_NOT_READY);
            ok = false;
        }
    }
    FreeDriverBuffer(buffer);
    return ok;
}

// The full pass: white lines averaged with 3 values dropped at each end,
// mapped through the data source's gain tables, sent as high and low bytes.
bool FullCalibration(Call& call, uint16_t resolution, uint8_t* record) {
    const uint16_t* gain[3];
    for (int c = 0; c < 3; ++c) {
        const uint32_t address = blocks::GetU32(record, kRecordGainTables + 4 * c);
        gain[c] = reinterpret_cast<const uint16_t*>(static_cast<uintptr_t>(address));
        if (address == 0) return false;
    }
    uint16_t lineBytes = 0, lines = 0;
    std::vector<uint8_t> white;
    if (!ReadWhiteLines(call, resolution, lineBytes, lines, white)) return false;
    std::vector<uint16_t> values;
    if (!shading::AverageShadingLines(white.data(), white.size(), lineBytes, lines, shading::Group::kColour,
                                      kPrescanTrim, values))
        return false;
    shading::ApplyColourGain(values, gain[0], gain[1], gain[2]);

    const auto count = static_cast<uint32_t>(values.size());
    const uint32_t size = FirstBufferSize(count, 1, call.defaultDriver, kShadingBufferCap);
    DriverBuffer high, low;
    // Only the planes are sent; the green pair the data source keeps is not needed here.
    std::vector<uint8_t> keptHigh(count / 3), keptLow(count / 3);
    bool ok = true;
    for (DriverBuffer* buffer : {&high, &low}) {
        ok = ok && AllocateDriverBuffer(*buffer, size, count, count, call.defaultDriver) &&
             DescribeDriverBuffer(*buffer, static_cast<uint16_t>(count), call.bufAddr) &&
             descriptors::DescribedBytes(buffer->table, buffer->count) >= count;
    }
    ok = ok && shading::SplitShadingValues(values, shading::Group::kColour,
                                           {{high.bytes, high.size},
                                            {low.bytes, low.size},
                                            {keptHigh.data(), keptHigh.size()},
                                            {keptLow.data(), keptLow.size()}});
    ok = ok && SendShading(call, resolution, count, high.table, high.count, low.table, low.count);
    FreeDriverBuffer(high);
    FreeDriverBuffer(low);
    if (ok) blocks::PutU16(record, kRecordFlag, 0);
    return ok;
}

// The data source's kept correction values sent again, through copies of the
// record's tables; with no tables there, a full pass instead.
bool Calibrate(Call& call, uint16_t resolution, uint8_t* record) {
    if (Remote(call)) {
        // The peer calibrates its scanner itself; "NO" ends the prescan quietly.
        if (!Request(call, blocks::kRemoteCalibrate, nullptr)) return false;
        return std::memcmp(call.link.calibrationReply, remote::kCalibrationFailed, 2) != 0 || StopWith(call, 0);
    }
    const uint8_t* parameters = call.blocks->scanParameters;
    const bool full = parameters[blocks::scanparam::kShadingNeeded] == 1 || blocks::GetU16(record, kRecordFlag) != 0;
    if (!full && parameters[blocks::scanparam::kShadingKind] != kShadingKindColour) return true;
    const uint16_t highCount = DescriptorsIn(record + kRecordHighTable);
    const uint16_t lowCount = DescriptorsIn(record + kRecordLowTable);
    if (full || highCount == 0 || lowCount == 0) return FullCalibration(call, resolution, record);

    std::memcpy(call.blocks->resendHigh, record + kRecordHighTable, kDescriptorTableBytes);
    std::memcpy(call.blocks->resendLow, record + kRecordLowTable, kDescriptorTableBytes);
    const uint64_t highBytes = descriptors::DescribedBytes(call.blocks->resendHigh, highCount);
    const uint64_t lowBytes = descriptors::DescribedBytes(call.blocks->resendLow, lowCount);
    const auto values = static_cast<uint32_t>(highBytes < lowBytes ? highBytes : lowBytes);
    return SendShading(call, resolution, values, call.blocks->resendHigh, highCount, call.blocks->resendLow,
                       lowCount);
}

// Neutral curves in all four records, 4096 entries wide on a 1200-dpi scanner.
bool SendToneTables(Call& call) {
    uint8_t identity[tone::kTableSize];
    for (size_t i = 0; i < sizeof identity; ++i) identity[i] = static_cast<uint8_t>(i);
    uint8_t* block = call.blocks->toneTable;
    block[blocks::tonetable::kThreshold] = 0;
    block[blocks::tonetable::kSelector] = blocks::tonetable::kThreeTables;
    for (int slot = 0; slot < 4; ++slot) tone::FillToneSlot(block, slot, identity, call.opticalResolution == 1200);
    return RequestOrStop(call, blocks::kSendToneTable, block);
}

// ---- Scan ----

void FillScanParameters(Call& call, const prescan::ScanPlan& plan) {
    namespace sp = blocks::scanparam;
    uint8_t* block = call.blocks->scanParameters;
    blocks::PutU16(block, sp::kLeft, 0);
    blocks::PutU16(block, sp::kTop, 0);
    blocks::PutU16(block, sp::kRight, plan.right);
    blocks::PutU16(block, sp::kBottom, plan.bottom);
    block[sp::kSource] = plan.source;
    block[sp::kConstantOne] = 0;
    block[sp::kImageType] = 3;
    block[sp::kVelocity] = plan.speedByte;
    blocks::PutU16(block, sp::kResolution, plan.resolution);
    const long saver = std::strtol(ProfileText("A3 SCANNER", "SAVER", "20").c_str(), nullptr, 10);
    blocks::PutU16(block, sp::kSaverDelay, static_cast<uint16_t>(saver < 0 ? 0 : saver > 0xFFFF ? 0xFFFF : saver));
    block[sp::kSaverOnly] = 0;
}

enum class ReadOutcome { kDone, kFailed, kCancelled };

// Dispatches what waits in the queue; true when Escape was pressed.
bool PumpMessages() {
    bool cancel = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) cancel = true;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return cancel;
}

// Remote reads arrive through the staging buffer, which no descriptor may
// exceed: longer ones are cut (to whole lines afterwards).
void CutToStaging(const Call& call, DriverBuffer& buffer) {
    if (!Remote(call)) return;
    for (uint16_t i = 0; i < buffer.count; ++i) {
        uint8_t* entry = buffer.table + i * blocks::kDescriptorSize;
        if (blocks::GetU32(entry, blocks::descriptor::kLength) > remote::kStagingBytes)
            blocks::PutU32(entry, blocks::descriptor::kLength, remote::kStagingBytes);
    }
}

// Reads every line the scanner announced, one buffer of lines per read, and
// stores those that fit the bitmap bottom-up in blue-green-red order. A
// failure has stopped the scanner; a cancel leaves that to the caller.
ReadOutcome ReadLines(Call& call, uint16_t lineBytes, uint16_t lines, const prescan::Bitmap& bitmap,
                      std::vector<uint8_t>& pixels) {
    const uint32_t wanted = uint32_t{lineBytes} * lines;
    const uint32_t floor = call.defaultDriver ? lineBytes : kNonDefaultMinimum;
    const uint32_t size = wanted > floor ? wanted : floor;
    DriverBuffer buffer;
    uint32_t perRead = 0;
    const bool described = AllocateDriverBuffer(buffer, size, lineBytes, lineBytes, call.defaultDriver) &&
                           DescribeDriverBuffer(buffer, lineBytes, call.bufAddr);
    if (described) CutToStaging(call, buffer);
    if (!described || (perRead = descriptors::TrimToWholeLines(buffer.table, buffer.count, lineBytes)) == 0) {
        FreeDriverBuffer(buffer);
        StopWith(call, 0);
        return ReadOutcome::kFailed;
    }
    namespace rd = blocks::readdata;
    uint8_t* block = call.blocks->readData;
    std::memcpy(block + rd::kRecordTable, buffer.table, kDescriptorTableBytes);
    const rowoutput::RowForm form = rowoutput::BitmapRow(lineBytes, bitmap.rowBytes, true);
    std::vector<uint8_t> received;
    ReadOutcome outcome = ReadOutcome::kDone;
    for (uint32_t done = 0; done < lines;) {
        if (PumpMessages()) {
            outcome = ReadOutcome::kCancelled;
            break;
        }
        const uint32_t count = lines - done < perRead ? lines - done : perRead;
        blocks::PutU16(block, rd::kBytesPerLine, lineBytes);
        blocks::PutU16(block, rd::kLines, static_cast<uint16_t>(count));
        blocks::PutU32(block, rd::kBytes, count * lineBytes);
        blocks::PutU16(block, rd::kLinesDone, static_cast<uint16_t>(done));
        blocks::PutU16(block, rd::kLinesUsed, 0);
        blocks::PutU16(block, rd::kRecordCount, buffer.count);
        blocks::PutU16(block, rd::kDescriptorCount, buffer.count);
        blocks::PutU32(block, rd::kTable, BlockAddress(block + rd::kRecordTable));
        if (!RequestOrStop(call, blocks::kReadImageData, block)) {
            outcome = ReadOutcome::kFailed;
            break;
        }
        // The table is read again: the driver may have changed it.
        if (!descriptors::GatherLines(buffer.bytes, BlockAddress(buffer.bytes), buffer.size, block + rd::kRecordTable,
                                      buffer.count, lineBytes, count, received)) {
            StopWith(call, PS_NOT_READY);
            outcome = ReadOutcome::kFailed;
            break;
        }
        for (uint32_t i = 0; i < count && done + i < bitmap.rows; ++i) {
            const uint64_t offset = rowoutput::BottomUpRowOffset(0, bitmap.rows, bitmap.rowBytes, done + i);
            rowoutput::EmitRow(received.data() + size_t{i} * lineBytes, pixels.data() + offset, form);
        }
        done += count;
    }
    FreeDriverBuffer(buffer);
    return outcome;
}

bool FreeBytesOf(const std::string& directory, uint64_t& free) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA((directory + "\\").c_str(), &available, nullptr, nullptr)) return false;
    free = available.QuadPart;
    return true;
}

bool WriteAll(HANDLE file, const uint8_t* data, uint64_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

// The scan after SetScanParameters succeeded and the warm-up notice is open.
// Leaves the finished picture as ORVC0000.BMP in `directory`; false with
// nothing written there.
bool ScanToFile(Call& call, const prescan::ScanPlan& plan, uint8_t* record, const std::string& directory) {
    if (!Calibrate(call, plan.resolution, record) || !SendToneTables(call)) return false;
    uint8_t* start = call.blocks->startScan;
    blocks::PutU16(start, blocks::startscan::kZero, 0);
    if (!RequestOrStop(call, blocks::kStartScan, start)) return false;
    CloseNotice(call);
    const uint16_t lineBytes = blocks::GetU16(start, blocks::startscan::kBytesPerLine);
    const uint16_t lines = blocks::GetU16(start, blocks::startscan::kLines);
    if (lines == 0) return false;
    prescan::Bitmap bitmap{};
    if (!prescan::BitmapForLines(plan, lineBytes, bitmap)) return StopWith(call, PS_NOT_READY);

    uint64_t free = 0;
    if (!FreeBytesOf(directory, free) || free < bitmap.pixelBytes + kDiskReserve)
        return StopWith(call, PS_DISK_SHORT);
    std::vector<uint8_t> header;
    const fileheaders::ImageGeometry geometry = {kModeColour, 0, static_cast<int32_t>(bitmap.width),
                                                 static_cast<int32_t>(bitmap.rows), lineBytes, bitmap.rowBytes,
                                                 plan.resolution};
    std::vector<uint8_t> pixels;
    try {
        pixels.assign(bitmap.pixelBytes, 0);
    } catch (const std::bad_alloc&) {
        return StopWith(call, 0);
    }
    if (!fileheaders::BuildBmpHeader(geometry, header)) return StopWith(call, PS_WRITE_ERROR);

    switch (ReadLines(call, lineBytes, lines, bitmap, pixels)) {
        case ReadOutcome::kDone:
            break;
        case ReadOutcome::kCancelled:
            StopWith(call, 0);
            PollUntilReady(call, kPollInterval, false, -1);
            return false;
        case ReadOutcome::kFailed:
            return false;
    }

    // The picture goes to a temporary name and takes the preview's name only
    // when it is whole.
    const std::string temporary = directory + "\\ORVC0000.TMP";
    const std::string finalPath = directory + "\\" + kPreviewFileName;
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowPrescanMessage(call, PS_WRITE_ERROR);
        return false;
    }
    bool written = WriteAll(file, header.data(), header.size()) && WriteAll(file, pixels.data(), pixels.size());
    CloseHandle(file);
    if (!written || !MoveFileExA(temporary.c_str(), finalPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        ShowPrescanMessage(call, written ? PS_WRITE_ERROR : PS_DISK_SHORT);
        return false;
    }
    // A fault reported now leaves the finished picture in place.
    if (!PollUntilReady(call, kIdlePollInterval, true, -1)) StopWith(call, 0);
    return true;
}

void RunPrescan(Call& call, int language, uint32_t letterModel, uint32_t sourceWord, const prescan::Options& options,
                uint8_t* record) {
    if (!OpenScanner(call, language)) return;
    const prescan::ScanPlan plan = prescan::PlanPrescan(call.opticalResolution, letterModel != 0, sourceWord, options);
    FillScanParameters(call, plan);
    if (!RequestOrStop(call, blocks::kSetScanParameters, call.blocks->scanParameters)) return;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    OpenNotice(call, PS_IDD_WARMING_UP_EN, PS_IDD_WARMING_UP_FIRST, language);
    ScanToFile(call, plan, record, InstallDirectory());
}

}  // namespace

extern "C" PrescanResult WINAPI PreScan_Image(HWND owner, RECT* /*previewArea*/, uint32_t sourceWord,
                                              void* /*progress*/, FARPROC /*progressCallback*/, uint32_t language,
                                              uint32_t letterModel, prescan::Options options,
                                              uint8_t* calibrationRecord, void* /*toneSettings*/,
                                              uintptr_t remoteSocket) {
    // A failed prescan never leaves an older picture that looks new.
    DeleteFileA((InstallDirectory() + "\\" + kPreviewFileName).c_str());

    Call call;
    call.owner = owner;
    const int index = language <= 7 ? static_cast<int>(language) : 0;
    call.base = index * PRESCAN_LANGUAGE_STRIDE;
    if (remoteSocket != 0) {
        call.link.socket = static_cast<SOCKET>(remoteSocket);
        call.link.ownsSocket = false;
        call.link.showSocketError = ShowSocketError;
        call.link.settings = ReadRemoteSettings();
    }
    uint8_t* memory = AllocateDriverMemory(sizeof(Blocks));
    if (memory && calibrationRecord && BindDriver(call)) {
        call.blocks = new (memory) Blocks{};
        RunPrescan(call, index, letterModel, sourceWord, options, calibrationRecord);
    }
    CloseNotice(call);
    if (call.driver) FreeLibrary(call.driver);
    FreeDriverMemory(memory);
    PrescanResult result{};
    if (call.link.lost) result.words[kResultLinkLost] = 1;
    return result;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

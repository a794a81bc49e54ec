// Memory that cannot be had during a transfer. The test runs in the data
// source's own process, so it takes the memory away for real: after
// MSG_XFERREADY it reserves the free address space and gives it back after
// the transfer call. In the 64-bit build the scan buffer lies below 4 GB, and
// that is the space taken away; the bitmap may lie anywhere in 128 TB, more
// than Wine can reserve. Not even one scan line of room is made by refusing
// the source's allocations instead. A native bitmap or a scan buffer that
// cannot be had: " Insufficient Memory." once, TWCC_LOWMEMORY, the scanner
// stopped, nothing kept, and the next scan works. A scan buffer with some
// room left shrinks to fit.
#include <string>
#include <vector>

#include "device/driver_memory.h"
#include "tests/wine/acquire_fixture.h"
#include "tests/wine/allocation_faults.h"

namespace {

using namespace dstest;

constexpr SIZE_T kMegabyte = 1 << 20;
constexpr bool kWide = sizeof(void*) == 8;

// A range of the address space the data source's scan buffer could use:
// anywhere in the 32-bit build, below 4 GB in the 64-bit build.
void* TakeRange(SIZE_T size) {
    if (kWide) return AllocateDriverMemory(size);
    return VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
}
void GiveBackRange(void* range) {
    if (kWide)
        FreeDriverMemory(static_cast<uint8_t*>(range));
    else
        VirtualFree(range, 0, MEM_RELEASE);
}
constexpr SIZE_T kScanBufferBytes = 2 * kMegabyte;  // the largest scan buffer

// Busy blocks of at least `bytes` in the process heap, where global memory
// lives.
int LargeHeapBlocks(SIZE_T bytes) {
    HANDLE heap = GetProcessHeap();
    PROCESS_HEAP_ENTRY entry{};
    int count = 0;
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.cbData >= bytes) ++count;
    HeapUnlock(heap);
    return count;
}

// Address space held away from the data source. Everything
// is given back by the destructor, also when an assertion ends the test.
struct MemoryShortage {
    std::vector<void*> ranges;  // reserved address space

    MemoryShortage() { ranges.reserve(4096); }  // no allocation while short
    ~MemoryShortage() { Release(); }
    MemoryShortage(const MemoryShortage&) = delete;
    MemoryShortage& operator=(const MemoryShortage&) = delete;

    // Leaves no free range of `smallest` bytes, except one piece of
    // `spared` bytes for the allocations that should succeed. Ranges of
    // 1 GB are taken while there are any, then of half the size, and so on:
    // the allocator itself finds the free space, since Wine shows part of
    // what it would hand out as reserved to VirtualQuery.
    void ReserveAddressSpace(SIZE_T smallest, SIZE_T spared) {
        void* spare = spared ? TakeRange(spared) : nullptr;
        for (SIZE_T size = 1024 * kMegabyte; size >= smallest && ranges.size() < ranges.capacity();) {
            if (void* range = TakeRange(size))
                ranges.push_back(range);
            else
                size /= 2;
        }
        if (spare) GiveBackRange(spare);
    }

    void Release() {
        for (void* range : ranges) GiveBackRange(range);
        ranges.clear();
    }
};

// A frame in inches at a resolution, in colour.
struct Scan {
    uint16_t dpi;
    float right, bottom;  // from the bed's top left corner
};

// The whole bed at 300 dpi: a bitmap of 53.7 MB.
const Scan kWholeBed{300, 11.7f, 17};
// A strip of the whole width at 600 dpi: lines of about 21 KB, 600 lines,
// read in seven chunks of the 2 MB scan buffer.
const Scan kWideStrip{600, 11.7f, 1};
constexpr int kWideStripReads = 7;

class LowMemoryTest : public AcquireTest {
protected:
    void SetUp() override {
        AcquireTest::SetUp();
        Connect("");
    }

    // Negotiates `scan` for `mechanism` in state 4 and enables without the
    // user interface; true when the image is ready (state 6).
    bool Ready(const Scan& scan, TW_UINT16 mechanism) {
        return ReadyUnattended(TWPT_RGB, scan.dpi, mechanism, 0, 0, scan.right, scan.bottom);
    }

    // The strip by memory transfer with no shortage, for comparison.
    MemoryBlocks StripWithMemoryToSpare() {
        EXPECT_TRUE(Ready(kWideStrip, TWSX_MEMORY));
        ClearScannerLog();
        MemoryBlocks taken = TakeMemoryBlocks(kMegabyte);
        EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
        EXPECT_EQ(CountRequests(blocks::kReadImageData), kWideStripReads);
        EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
        return taken;
    }

    TW_UINT16 NativeImage(TW_HANDLE& handle) { return host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle); }

    // The scanner was stopped after the failure and polled until idle, and
    // no line was read.
    void ExpectScannerStoppedWithoutReads() {
        EXPECT_EQ(CountRequests(blocks::kReadImageData), 0);
        EXPECT_EQ(CountRequests(blocks::kStopScan), 1);
        bool stopped = false;
        int pollsAfterStop = 0;
        for (const std::string& line : ScannerLog()) {
            if (line.find(" F6.") != std::string::npos) stopped = true;
            if (stopped && line.find(" F9.") != std::string::npos) ++pollsAfterStop;
        }
        EXPECT_GE(pollsAfterStop, 1);
    }

    // The BUF_ADDR lines of the log: "BUF_ADDR <bytes> <line bytes> <count>".
    std::vector<std::string> BufferDescriptions() {
        std::vector<std::string> lines;
        for (const std::string& line : ScannerLog())
            if (line.rfind("BUF_ADDR ", 0) == 0) lines.push_back(line);
        return lines;
    }
};

TEST_F(LowMemoryTest, NativeBitmapBeyondTheFreeAddressSpaceFailsOnceAndTheNextScanWorks) {
    if (kWide)
        GTEST_SKIP() << "64-bit: the bitmap may lie anywhere in 128 TB of address space, "
                        "more than Wine can reserve; the scan buffer's shortage below 4 GB is tested";
    // The image of the bed taken with memory to spare, for comparison.
    ASSERT_TRUE(Ready(kWholeBed, TWSX_NATIVE));
    TW_HANDLE handle = 0;
    ASSERT_EQ(NativeImage(handle), TWRC_XFERDONE);
    const Dib reference = TakeDib(handle);
    ASSERT_GT(reference.rows.size(), 50 * kMegabyte);
    ASSERT_EQ(EndTransfer(), TWRC_SUCCESS);

    // No free range of 16 MB is left but one spared piece: the 2 MB scan
    // buffer can be had, the 53.7 MB bitmap cannot.
    ASSERT_TRUE(Ready(kWholeBed, TWSX_NATIVE));
    ClearScannerLog();
    handle = 0xDEADBEEF;
    TW_UINT16 rc, code;
    const int blocksBefore = LargeHeapBlocks(kScanBufferBytes);
    {
        MemoryShortage shortage;
        shortage.ReserveAddressSpace(16 * kMegabyte, 16 * kMegabyte);
        rc = NativeImage(handle);
        code = host.ConditionCode();
    }
    EXPECT_EQ(rc, TWRC_FAILURE);
    EXPECT_EQ(code, TWCC_LOWMEMORY);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{" Insufficient Memory."});
    // The whole scan buffer was had (and described in three parts), the bitmap not.
    const std::string lineBytes = std::to_string(reference.width * 3);
    EXPECT_EQ(BufferDescriptions(),
              std::vector<std::string>{"BUF_ADDR " + std::to_string(kScanBufferBytes) + " " + lineBytes + " 3"});
    ExpectScannerStoppedWithoutReads();
    EXPECT_EQ(LargeHeapBlocks(kScanBufferBytes), blocksBefore);  // the scan buffer was freed
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
    EXPECT_EQ(SourceState(host), 7);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_EQ(SourceState(host), 5);

    // With the memory back the same scan delivers the whole image.
    ASSERT_TRUE(Ready(kWholeBed, TWSX_NATIVE));
    ASSERT_EQ(NativeImage(handle), TWRC_XFERDONE);
    const Dib again = TakeDib(handle);
    EXPECT_EQ(again.width, reference.width);
    EXPECT_EQ(again.height, reference.height);
    EXPECT_TRUE(again.rows == reference.rows);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(LowMemoryTest, ScanBufferShrinksByWholeLinesToTheRoomThereIs) {
    const MemoryBlocks reference = StripWithMemoryToSpare();
    const SIZE_T lineBytes = reference.records.front().BytesPerRow;

    // No free range of 64 KB is left but one of 1 MB: the scan buffer is cut
    // a line at a time from 2 MB until it fits there.
    ASSERT_TRUE(Ready(kWideStrip, TWSX_MEMORY));
    ClearScannerLog();
    std::vector<uint8_t> buffer(kMegabyte);
    TW_IMAGEMEMXFER first{};
    TW_UINT16 rc;
    {
        MemoryShortage shortage;
        shortage.ReserveAddressSpace(64 * 1024, kMegabyte);
        rc = MemoryBlock(buffer.data(), kMegabyte, first);
    }
    ASSERT_EQ(rc, TWRC_SUCCESS);
    const std::vector<std::string> described = BufferDescriptions();
    ASSERT_EQ(described.size(), 1u);
    const SIZE_T bufferBytes = std::stoul(described[0].substr(9));
    EXPECT_LE(bufferBytes, kMegabyte);
    EXPECT_GE(bufferBytes, lineBytes);
    EXPECT_EQ((kScanBufferBytes - bufferBytes) % lineBytes, 0u);

    // The rest of the image comes through the smaller buffer, in more reads.
    std::vector<uint8_t> rows(buffer.begin(), buffer.begin() + first.BytesWritten);
    const MemoryBlocks rest = TakeMemoryBlocks(kMegabyte);
    EXPECT_EQ(rest.codes.back(), TWRC_XFERDONE);
    EXPECT_EQ(rest.records.front().YOffset, first.Rows);
    rows.insert(rows.end(), rest.rows.begin(), rest.rows.end());
    EXPECT_TRUE(rows == reference.rows);
    EXPECT_GT(CountRequests(blocks::kReadImageData), kWideStripReads);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(LowMemoryTest, ScanBufferOfNotEvenOneLineEndsTheMemoryTransfer) {
    const MemoryBlocks reference = StripWithMemoryToSpare();
    const SIZE_T lineBytes = reference.records.front().BytesPerRow;

    ASSERT_TRUE(Ready(kWideStrip, TWSX_MEMORY));
    ClearScannerLog();
    std::vector<uint8_t> buffer(kMegabyte);
    TW_IMAGEMEMXFER record{};
    TW_UINT16 rc, code;
    {
        // Every block of a line or more refused. Taking the whole address
        // space away would starve Wine's own drawing of the message box too.
        AllocationFaults faults("kvsc_a3.ds");
        ASSERT_TRUE(faults.Patched());
        faults.failFromBytes = lineBytes;
        rc = MemoryBlock(buffer.data(), kMegabyte, record);
        code = host.ConditionCode();
    }
    EXPECT_EQ(rc, TWRC_FAILURE);
    EXPECT_EQ(code, TWCC_LOWMEMORY);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{" Insufficient Memory."});
    EXPECT_TRUE(BufferDescriptions().empty());
    ExpectScannerStoppedWithoutReads();
    EXPECT_EQ(host.WaitForNotification(5000), MSG_CLOSEDSREQ);
    EXPECT_EQ(SourceState(host), 7);
    EXPECT_EQ(EndTransfer(MSG_RESET), TWRC_SUCCESS);
    EXPECT_EQ(SourceState(host), 5);

    // With the memory back the next image comes whole.
    ASSERT_TRUE(Ready(kWideStrip, TWSX_MEMORY));
    const MemoryBlocks taken = TakeMemoryBlocks(kMegabyte);
    EXPECT_EQ(taken.codes.back(), TWRC_XFERDONE);
    EXPECT_EQ(taken.records.front().YOffset, 0u);
    EXPECT_TRUE(taken.rows == reference.rows);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace

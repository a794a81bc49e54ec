// A 64-bit host whose memory lies above 4 GB: every record it hands the
// source (capability, user interface, event, memory block, the place of the
// native bitmap's handle) and the buffers of a memory transfer are placed
// there on purpose. A source that kept any of these addresses in 32 bits
// would read or write somewhere else; here the transfers must give the same
// image as with the records in low memory.
#include <new>
#include <vector>

#include "tests/wine/acquire_fixture.h"

namespace {

using namespace dstest;

constexpr bool kWide = sizeof(void*) == 8;
constexpr uint64_t k4GB = uint64_t{1} << 32;
constexpr SIZE_T kHighBytes = 4 << 20;
constexpr uint32_t kBlockBytes = 65536;

bool AboveFourGB(const void* p) { return reinterpret_cast<uintptr_t>(p) >= k4GB; }

class HighAddressTest : public AcquireTest {
protected:
    void SetUp() override {
        if (!kWide) GTEST_SKIP() << "32-bit: no address lies above 4 GB";
        AcquireTest::SetUp();
        high = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, kHighBytes, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
        ASSERT_NE(high, nullptr);
        ASSERT_TRUE(AboveFourGB(high));
        Connect("");
    }
    void TearDown() override {
        if (high) VirtualFree(high, 0, MEM_RELEASE);
        AcquireTest::TearDown();
    }

    // A record of type T at `offset` into the high memory, zeroed.
    template <typename T>
    T* HighRecord(size_t offset) {
        return new (high + offset) T{};
    }

    // The capability's current value, asked with the record above 4 GB.
    TW_UINT32 CurrentOneValue(TW_UINT16 cap) {
        auto* record = HighRecord<TW_CAPABILITY>(0);
        record->Cap = cap;
        EXPECT_EQ(host.Ds(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, record), TWRC_SUCCESS);
        EXPECT_EQ(record->ConType, TWON_ONEVALUE);
        auto block = TwainPointer<HGLOBAL>(record->hContainer);
        const auto* value = static_cast<const TW_ONEVALUE*>(GlobalLock(block));
        const TW_UINT32 item = value ? value->Item : 0xFFFFFFFF;
        GlobalUnlock(block);
        GlobalFree(block);
        return item;
    }

    // Enables without the dialog through a record above 4 GB, then waits
    // for the image.
    bool ReadyFromHighRecords(TW_UINT16 mechanism) {
        if (host.enabled) host.Disable();
        EXPECT_EQ(host.SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB), TWRC_SUCCESS);
        EXPECT_EQ(host.SetOneValue(ICAP_XRESOLUTION, TWTY_FIX32, Fix32ToContainer(Fix32FromInt(100))),
                  TWRC_SUCCESS);
        EXPECT_EQ(host.SetOneValue(ICAP_XFERMECH, TWTY_UINT16, mechanism), TWRC_SUCCESS);
        EXPECT_EQ(host.SetFrame(1, 1, 5, 4), TWRC_SUCCESS);
        EXPECT_EQ(CurrentOneValue(ICAP_XFERMECH), mechanism);
        auto* ui = HighRecord<TW_USERINTERFACE>(64);
        ui->hParent = TwainRef(host.parent);
        if (host.Ds(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, ui) != TWRC_SUCCESS) return false;
        host.ui = *ui;
        host.enabled = true;
        return host.WaitForNotification(20000) == MSG_XFERREADY;
    }
    uint8_t* high = nullptr;
};

TEST_F(HighAddressTest, MemoryTransferIntoBuffersAboveFourGBGivesTheSameImage) {
    ASSERT_TRUE(ReadyUnattended(TWPT_RGB, 100, TWSX_MEMORY, 1, 1, 5, 4));
    const MemoryBlocks reference = TakeMemoryBlocks(kBlockBytes);
    ASSERT_EQ(reference.codes.back(), TWRC_XFERDONE);
    ASSERT_EQ(EndTransfer(), TWRC_SUCCESS);
    ASSERT_EQ(reference.rows.size(), size_t{400} * 3 * 300);

    ASSERT_TRUE(ReadyFromHighRecords(TWSX_MEMORY));
    auto* record = HighRecord<TW_IMAGEMEMXFER>(128);
    uint8_t* buffer = high + kHighBytes - kBlockBytes;
    std::vector<uint8_t> rows;
    TW_UINT16 rc = TWRC_SUCCESS;
    while (rc == TWRC_SUCCESS) {
        *record = TW_IMAGEMEMXFER{};
        record->Memory = {TWMF_APPOWNS | TWMF_POINTER, kBlockBytes, TwainRef(buffer)};
        rc = host.Ds(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, record);
        if (rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) rows.insert(rows.end(), buffer, buffer + record->BytesWritten);
    }
    EXPECT_EQ(rc, TWRC_XFERDONE);
    EXPECT_TRUE(rows == reference.rows);

    // A message the source does not own, handed through an event above 4 GB.
    auto* message = HighRecord<MSG>(256);
    message->hwnd = host.parent;
    message->message = WM_NULL;
    auto* event = HighRecord<TW_EVENT>(512);
    event->pEvent = TwainRef(message);
    EXPECT_EQ(host.Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, event), TWRC_NOTDSEVENT);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
}

TEST_F(HighAddressTest, NativeBitmapHandleWrittenAboveFourGBIsWhole) {
    ASSERT_TRUE(ReadyUnattended(TWPT_RGB, 100, TWSX_NATIVE, 1, 1, 5, 4));
    TW_HANDLE low = 0;
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &low), TWRC_XFERDONE);
    const Dib reference = TakeDib(low);
    ASSERT_EQ(EndTransfer(), TWRC_SUCCESS);
    ASSERT_EQ(reference.width, 400);

    ASSERT_TRUE(ReadyFromHighRecords(TWSX_NATIVE));
    auto* slot = HighRecord<TW_HANDLE>(1024);
    *slot = ~TW_HANDLE{0};  // every bit must be written
    ASSERT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, slot), TWRC_XFERDONE);
    const Dib dib = TakeDib(*slot);
    EXPECT_EQ(dib.width, reference.width);
    EXPECT_EQ(dib.height, reference.height);
    EXPECT_TRUE(dib.rows == reference.rows);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
}

}  // namespace

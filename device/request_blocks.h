// The driver request blocks: byte-packed little-endian records of fixed size,
// one per function code. The status word of every block is at offset 2.
// Addresses inside blocks are opaque 32-bit numbers here; only the Win32 glue
// stores real pointers in them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "imaging/little_endian.h"

namespace blocks {

// Function codes
enum Function : uint32_t {
    kInquiry = 0,
    kSetScanParameters = 1,
    kReadShadingData = 2,
    kSendShadingData = 3,
    kSendToneTable = 4,
    kStartScan = 5,
    kStopScan = 6,
    kGetShadingSize = 7,
    kReadImageData = 8,
    kGetStatus = 9,
    kRemoteCalibrate = 10,
};

// Block sizes
constexpr size_t kInquirySize = 134;
constexpr size_t kScanParameterSize = 32;
constexpr size_t kReadShadingSize = 24;   // up to and including the table pointer at 20
constexpr size_t kSendShadingSize = 28;   // up to and including the table pointer at 24
constexpr size_t kToneTableSize = 16404;
constexpr size_t kStartScanSize = 16;
constexpr size_t kStopSize = 6;
constexpr size_t kShadingSizeSize = 16;
constexpr size_t kReadDataSize = 36;       // bytes that travel with a read request
constexpr size_t kReadDataRecordSize = 96 + 16 * 20;  // with the descriptor table at 96
constexpr size_t kStatusSize = 12;
constexpr size_t kDescriptorSize = 20;
constexpr size_t kMaxDescriptors = 16;

constexpr size_t kStatus = 2;

namespace inquiry {
constexpr size_t kIdentity = 10;
constexpr size_t kIdentityLength = 96;
constexpr size_t kRevision = 42;
constexpr size_t kRevision2 = 44;
constexpr size_t kModelPrefix = 53;
constexpr size_t kResolutionCode = 57;
constexpr size_t kCapabilityFlags = 67;
constexpr uint8_t kBelongsFlag = 0x40;
constexpr size_t kReferenceLevels = 70;  // four u16: red, green, blue, grey
constexpr size_t kFeeder = 126;
constexpr size_t kFlag = 127;
constexpr uint16_t kNotReady = 0x00FF;
}  // namespace inquiry

namespace scanparam {
constexpr size_t kLeft = 6;
constexpr size_t kTop = 8;
constexpr size_t kRight = 10;
constexpr size_t kBottom = 12;
constexpr size_t kSource = 14;
constexpr size_t kConstantOne = 15;
constexpr size_t kImageType = 16;
constexpr size_t kVelocity = 17;
constexpr size_t kResolution = 18;
constexpr size_t kShadingNeeded = 20;
constexpr size_t kShadingKind = 21;
constexpr size_t kThirdResult = 22;
constexpr size_t kSaverDelay = 24;
constexpr size_t kSaverOnly = 26;
}  // namespace scanparam

namespace readshading {
constexpr size_t kResolution = 6;
constexpr size_t kLineBytes = 8;
constexpr size_t kLines = 10;
constexpr size_t kTotalBytes = 12;
constexpr size_t kDescriptorCount = 18;
constexpr size_t kTable = 20;
}  // namespace readshading

namespace sendshading {
constexpr size_t kResolution = 6;
constexpr size_t kEntryCount = 8;
constexpr size_t kZero1 = 12;
constexpr size_t kZero2 = 14;
constexpr size_t kHighCount = 16;
constexpr size_t kLowCount = 18;
constexpr size_t kHighTable = 20;
constexpr size_t kLowTable = 24;
}  // namespace sendshading

namespace tonetable {
constexpr size_t kThreshold = 6;
constexpr size_t kSelector = 7;
constexpr size_t kFirstRecord = 8;
constexpr size_t kRecordSize = 4098;
constexpr size_t kEntries = 4096;
constexpr uint8_t kOneTable = 0x10;
constexpr uint8_t kThreeTables = 7;
}  // namespace tonetable

namespace startscan {
constexpr size_t kZero = 6;
constexpr size_t kBytesPerLine = 8;
constexpr size_t kLines = 10;
}  // namespace startscan

namespace shadingsize {
constexpr size_t kOne = 6;
constexpr size_t kLineBytes = 8;
constexpr size_t kLines = 10;
}  // namespace shadingsize

namespace readdata {
constexpr size_t kBytesPerLine = 6;
constexpr size_t kLines = 8;
constexpr size_t kBytes = 12;
constexpr size_t kLinesDone = 16;
constexpr size_t kLinesUsed = 18;
constexpr size_t kDescriptorCount = 26;
constexpr size_t kTable = 28;
constexpr size_t kRecordCount = 44;
constexpr size_t kRecordTable = 96;
}  // namespace readdata

namespace status {
constexpr size_t kFault = 2;
constexpr size_t kReady = 6;
}  // namespace status

namespace descriptor {
constexpr size_t kLength = 0;
constexpr size_t kLines = 4;
constexpr size_t kAddress = 8;
}  // namespace descriptor

// Device status codes of functions 1 and 8
constexpr uint16_t kPaperJam = 0x8217;
constexpr uint16_t kNoPaper = 0x8321;
constexpr uint16_t kCoverOpen = 0x8414;

// The blocks are little-endian records.
using le::GetU16;
using le::GetU32;
using le::PutU16;
using le::PutU32;

// The shading requests, whose blocks carry descriptor tables by their 32-bit
// addresses: the read of `lines` white lines of `lineBytes` into the buffer
// the table at `table` describes, and the send of `values` correction values
// whose high and low bytes the two tables describe.
inline void FillReadShading(uint8_t* block, uint16_t resolution, uint16_t lineBytes, uint16_t lines,
                            uint16_t descriptorCount, uint32_t table) {
    PutU16(block, readshading::kResolution, resolution);
    PutU16(block, readshading::kLineBytes, lineBytes);
    PutU16(block, readshading::kLines, lines);
    PutU32(block, readshading::kTotalBytes, uint32_t{lineBytes} * lines);
    PutU16(block, readshading::kDescriptorCount, descriptorCount);
    PutU32(block, readshading::kTable, table);
}

inline void FillSendShading(uint8_t* block, uint16_t resolution, uint32_t values, uint16_t highCount,
                            uint32_t highTable, uint16_t lowCount, uint32_t lowTable) {
    PutU16(block, sendshading::kResolution, resolution);
    PutU32(block, sendshading::kEntryCount, values);
    PutU16(block, sendshading::kZero1, 0);
    PutU16(block, sendshading::kZero2, 0);
    PutU16(block, sendshading::kHighCount, highCount);
    PutU16(block, sendshading::kLowCount, lowCount);
    PutU32(block, sendshading::kHighTable, highTable);
    PutU32(block, sendshading::kLowTable, lowTable);
}

}  // namespace blocks

// One block of each function, as a module keeps them.
struct RequestBlocks {
    uint8_t inquiry[blocks::kInquirySize];
    uint8_t scanParameters[blocks::kScanParameterSize];
    uint8_t readShading[blocks::kReadShadingSize];
    uint8_t sendShading[blocks::kSendShadingSize];
    uint8_t toneTable[blocks::kToneTableSize];
    uint8_t startScan[blocks::kStartScanSize];
    uint8_t stop[blocks::kStopSize];
    uint8_t shadingSize[blocks::kShadingSizeSize];
    uint8_t readData[blocks::kReadDataRecordSize];
    uint8_t status[blocks::kStatusSize];
};

// The caller's memory as the simulated scanner reaches it: addresses in
// request blocks and descriptors are opaque 32-bit numbers that the glue
// turns into pointers (the DLL casts them; tests map them into an arena).
// Reads descriptor tables and places lines or byte streams into the
// segments they describe, never beyond a segment's length.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

struct MemoryAccess {
    // The `length` bytes at `address`, or null when they cannot be reached.
    uint8_t* (*resolve)(void* context, uint32_t address, uint32_t length) = nullptr;
    void* context = nullptr;
};

uint8_t* Resolve(const MemoryAccess& memory, uint32_t address, uint32_t length);

struct Segment {
    uint32_t address = 0;
    uint32_t length = 0;     // +0
    uint16_t linesHeld = 0;  // +4, as the caller wrote it
};

// The `count` descriptors of the table at `tableAddress`; false when count is
// above 16 or the table cannot be reached.
bool ReadSegments(const MemoryAccess& memory, uint32_t tableAddress, uint32_t count,
                  std::vector<Segment>& segments);

// The same for a table the caller's block holds itself.
bool ParseSegments(const uint8_t* table, uint32_t count, std::vector<Segment>& segments);

// Where each of `lines` lines of `lineBytes` goes: the segments in order, each
// taking as many lines as it holds. A segment holds its lines-held count
// (`useLinesHeld`) or otherwise every whole line of its length, never more
// than its length. False when they hold fewer lines or one cannot be reached.
bool PlaceLines(const MemoryAccess& memory, const std::vector<Segment>& segments, uint32_t lineBytes,
                uint32_t lines, bool useLinesHeld, std::vector<uint8_t*>& places);

// The first `bytes` bytes of the segments taken as one stream (each segment
// its whole length). False when they hold fewer or one cannot be reached.
bool GatherBytes(const MemoryAccess& memory, const std::vector<Segment>& segments, uint32_t bytes,
                 std::vector<uint8_t>& stream);

}  // namespace sim

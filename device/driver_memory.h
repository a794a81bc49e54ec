// Memory that a scanner driver is handed by address. The request blocks and
// descriptor tables carry addresses in 32-bit fields (the driver's interface,
// the same in every build), so everything whose address travels in a block
// lives in the low 4 GB of the address space: in the 32-bit build that is all
// memory; the 64-bit build allocates it there on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

// Locked memory of `bytes` bytes below 4 GB; null when none can be had.
uint8_t* AllocateDriverMemory(size_t bytes);

// Frees what AllocateDriverMemory returned; null does nothing.
void FreeDriverMemory(uint8_t* memory);

// True when the `bytes` bytes at `memory` lie wholly below 4 GB, so that a
// block's 32-bit field can carry their address.
bool WithinDriverReach(const void* memory, size_t bytes);

// The address a block carries for `memory`, which must be within reach.
inline uint32_t BlockAddress(const void* memory) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(memory));
}

// A module-wide record whose address (or whose members' addresses) the driver
// is given. It is placed in driver memory when the module loads; should that
// fail, it lives on the heap, and the scan that needs it refuses for lack of
// memory because WithinDriverReach fails.
template <typename T>
class DriverRecord {
public:
    DriverRecord() {
        uint8_t* memory = AllocateDriverMemory(sizeof(T));
        owned_ = memory != nullptr;
        record_ = owned_ ? new (memory) T{} : new T{};
    }
    ~DriverRecord() {
        if (!owned_) {
            delete record_;
            return;
        }
        record_->~T();
        FreeDriverMemory(reinterpret_cast<uint8_t*>(record_));
    }
    DriverRecord(const DriverRecord&) = delete;
    DriverRecord& operator=(const DriverRecord&) = delete;

    T& operator*() const { return *record_; }
    bool Reachable() const { return WithinDriverReach(record_, sizeof(T)); }

private:
    T* record_ = nullptr;
    bool owned_ = false;
};

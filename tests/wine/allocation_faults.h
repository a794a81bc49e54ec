// Allocation faults in the data source's own process: the allocating imports
// of a loaded module (global memory, the C heap, and NtAllocateVirtualMemory
// as the module looks it up for its driver memory) are redirected through
// counting replacements that can make the n-th allocation fail, and that keep
// the set of blocks the module holds, so a test can see what a failed scan
// left behind, or make every allocation from a size on fail. Counted are the
// module's buffers: every global and driver memory block, and C heap blocks
// of kSmallestBuffer bytes or more. The small blocks of strings, lists and
// tables are left alone: a process that cannot have a few hundred bytes
// cannot show a message box either.
//
//   AllocationFaults faults("kvsc_a3.ds");
//   int run = faults.Restart(5);  // the fifth buffer from now is refused
//   ... run a scan ...
//   faults.allocations;     // how many were asked for
//   faults.HeldFrom(run);   // buffers made in a run and not freed
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>

#include "tests/wine/import_patches.h"

namespace dstest {

class AllocationFaults {
public:
    explicit AllocationFaults(const char* moduleName) : patches_(GetModuleHandleA(moduleName)) {
        active_ = this;
        patches_.Replace("KERNEL32.dll", "GlobalAlloc", reinterpret_cast<void*>(&CountedGlobalAlloc));
        patches_.Replace("KERNEL32.dll", "GlobalFree", reinterpret_cast<void*>(&CountedGlobalFree));
        patches_.Replace("KERNEL32.dll", "GetProcAddress", reinterpret_cast<void*>(&RedirectedGetProcAddress));
        patches_.Replace("KERNEL32.dll", "VirtualFree", reinterpret_cast<void*>(&CountedVirtualFree));
        patches_.Replace("msvcrt.dll", "malloc", reinterpret_cast<void*>(&CountedMalloc));
        patches_.Replace("msvcrt.dll", "calloc", reinterpret_cast<void*>(&CountedCalloc));
        patches_.Replace("msvcrt.dll", "realloc", reinterpret_cast<void*>(&CountedRealloc));
        patches_.Replace("msvcrt.dll", "free", reinterpret_cast<void*>(&CountedFree));
    }
    ~AllocationFaults() { active_ = nullptr; }
    AllocationFaults(const AllocationFaults&) = delete;
    AllocationFaults& operator=(const AllocationFaults&) = delete;

    bool Patched() const { return patches_.count() >= 4; }
    // Starts counting afresh: the failAt-th allocation from here fails (0:
    // none). Returns the number of this run.
    int Restart(long failAt) {
        allocations = 0;
        this->failAt = failAt;
        return ++run_;
    }
    // Buffers allocated in `run` and not freed since.
    size_t HeldFrom(int run) const {
        size_t held = 0;
        for (const auto& [block, madeIn] : blocks_) held += madeIn == run;
        return held;
    }

    long allocations = 0;     // counted allocations since Restart
    long failAt = 0;          // the one to fail, 0 for none
    size_t failFromBytes = 0;  // when not 0, every counted allocation of this size or more fails
    static constexpr size_t kSmallestBuffer = 4096;

private:
    using NtAllocateFn = LONG(WINAPI*)(HANDLE, void**, ULONG_PTR, SIZE_T*, ULONG, ULONG);

    // True when this allocation of `bytes` is to fail; only buffers count.
    static bool Fails(size_t bytes, bool buffer) {
        AllocationFaults* self = active_;
        if (self == nullptr || !buffer) return false;
        const bool large = self->failFromBytes != 0 && bytes >= self->failFromBytes;
        return ++self->allocations == self->failAt || large;
    }
    static void Hold(const void* block, size_t bytes = kSmallestBuffer) {
        if (active_ != nullptr && block != nullptr && bytes >= kSmallestBuffer)
            active_->blocks_[reinterpret_cast<uintptr_t>(block)] = active_->run_;
    }
    static void Drop(const void* block) {
        if (active_ != nullptr) active_->blocks_.erase(reinterpret_cast<uintptr_t>(block));
    }

    static HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T bytes) {
        if (Fails(bytes, true)) return nullptr;
        HGLOBAL block = GlobalAlloc(flags, bytes);
        Hold(block);
        return block;
    }
    static HGLOBAL WINAPI CountedGlobalFree(HGLOBAL block) {
        Drop(block);
        return GlobalFree(block);
    }
    static LONG WINAPI CountedNtAllocate(HANDLE process, void** base, ULONG_PTR zeroBits, SIZE_T* size, ULONG type,
                                         ULONG protect) {
        if (Fails(*size, true)) return static_cast<LONG>(0xC0000017);  // STATUS_NO_MEMORY
        const auto allocate = reinterpret_cast<NtAllocateFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtAllocateVirtualMemory")));
        const LONG status = allocate(process, base, zeroBits, size, type, protect);
        if (status >= 0) Hold(*base);
        return status;
    }
    static FARPROC WINAPI RedirectedGetProcAddress(HMODULE module, LPCSTR name) {
        if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 && std::strcmp(name, "NtAllocateVirtualMemory") == 0)
            return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountedNtAllocate));
        return GetProcAddress(module, name);
    }
    static BOOL WINAPI CountedVirtualFree(void* address, SIZE_T size, DWORD type) {
        if (type == MEM_RELEASE) Drop(address);
        return VirtualFree(address, size, type);
    }
    static void* CountedMalloc(size_t bytes) {
        if (Fails(bytes, bytes >= kSmallestBuffer)) return nullptr;
        void* block = std::malloc(bytes);
        Hold(block, bytes);
        return block;
    }
    static void* CountedCalloc(size_t count, size_t bytes) {
        if (Fails(count * bytes, count * bytes >= kSmallestBuffer)) return nullptr;
        void* block = std::calloc(count, bytes);
        Hold(block, count * bytes);
        return block;
    }
    static void* CountedRealloc(void* old, size_t bytes) {
        if (Fails(bytes, bytes >= kSmallestBuffer)) return nullptr;
        // The old block is let go first; a failed realloc keeps it.
        const auto oldBlock = reinterpret_cast<uintptr_t>(old);
        const auto held = active_ != nullptr ? active_->blocks_.find(oldBlock) : BlockMap::iterator{};
        const int madeIn = active_ != nullptr && held != active_->blocks_.end() ? held->second : 0;
        if (madeIn != 0) active_->blocks_.erase(held);
        void* block = std::realloc(old, bytes);
        if (block != nullptr) {
            Hold(block, bytes);
        } else if (madeIn != 0 && bytes != 0) {
            active_->blocks_[oldBlock] = madeIn;
        }
        return block;
    }
    static void CountedFree(void* block) {
        Drop(block);
        std::free(block);
    }

    static inline AllocationFaults* active_ = nullptr;
    ImportPatches patches_;
    using BlockMap = std::map<uintptr_t, int>;  // block -> the run that made it
    BlockMap blocks_;
    int run_ = 0;
};

}  // namespace dstest

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

namespace dstest {

class AllocationFaults {
public:
    explicit AllocationFaults(const char* moduleName) : module_(GetModuleHandleA(moduleName)) {
        active_ = this;
        if (module_ == nullptr) return;
        Patch("KERNEL32.dll", "GlobalAlloc", reinterpret_cast<void*>(&CountedGlobalAlloc));
        Patch("KERNEL32.dll", "GlobalFree", reinterpret_cast<void*>(&CountedGlobalFree));
        Patch("KERNEL32.dll", "GetProcAddress", reinterpret_cast<void*>(&RedirectedGetProcAddress));
        Patch("KERNEL32.dll", "VirtualFree", reinterpret_cast<void*>(&CountedVirtualFree));
        Patch("msvcrt.dll", "malloc", reinterpret_cast<void*>(&CountedMalloc));
        Patch("msvcrt.dll", "calloc", reinterpret_cast<void*>(&CountedCalloc));
        Patch("msvcrt.dll", "realloc", reinterpret_cast<void*>(&CountedRealloc));
        Patch("msvcrt.dll", "free", reinterpret_cast<void*>(&CountedFree));
    }
    ~AllocationFaults() {
        for (int i = patched_ - 1; i >= 0; --i) Write(patches_[i].slot, patches_[i].original);
        active_ = nullptr;
    }
    AllocationFaults(const AllocationFaults&) = delete;
    AllocationFaults& operator=(const AllocationFaults&) = delete;

    bool Patched() const { return module_ != nullptr && patched_ >= 4; }
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

    struct ImportPatch {
        void** slot;
        void* original;
    };

    // Replaces the module's import `name` of `dll`, if it has one.
    void Patch(const char* dll, const char* name, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(module_);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
             directory.VirtualAddress != 0 && entry->Name != 0; ++entry) {
            if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
                void** slot = reinterpret_cast<void**>(&slots->u1.Function);
                patches_[patched_++] = {slot, *slot};
                Write(slot, replacement);
                return;
            }
        }
    }

    static void Write(void** slot, void* value) {
        DWORD protection;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    }

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
    HMODULE module_;
    ImportPatch patches_[16]{};
    int patched_ = 0;
    using BlockMap = std::map<uintptr_t, int>;  // block -> the run that made it
    BlockMap blocks_;
    int run_ = 0;
};

}  // namespace dstest

#include "device/driver_memory.h"

#include <windows.h>

#ifdef _WIN64

namespace {

// NTSTATUS NtAllocateVirtualMemory(process, base, zeroBits, size, type, protect):
// a zero-bits value above 32 is a mask of the highest address allowed.
using NtAllocateFn = LONG(WINAPI*)(HANDLE, void**, ULONG_PTR, SIZE_T*, ULONG, ULONG);
constexpr ULONG_PTR kBelow4GB = 0xFFFFFFFFu;

// Looked up at each allocation (there are a few per scan), through the
// module's own import of GetProcAddress, so that the allocation can be
// observed like the module's other imports.
NtAllocateFn NtAllocate() {
    return reinterpret_cast<NtAllocateFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtAllocateVirtualMemory")));
}

}  // namespace

uint8_t* AllocateDriverMemory(size_t bytes) {
    NtAllocateFn allocate = NtAllocate();
    if (allocate == nullptr || bytes == 0) return nullptr;
    void* base = nullptr;
    SIZE_T size = bytes;
    if (allocate(GetCurrentProcess(), &base, kBelow4GB, &size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) < 0)
        return nullptr;
    if (!WithinDriverReach(base, bytes)) {  // a system that ignored the mask
        VirtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }
    return static_cast<uint8_t*>(base);
}

void FreeDriverMemory(uint8_t* memory) {
    if (memory != nullptr) VirtualFree(memory, 0, MEM_RELEASE);
}

#else

// Shareable global memory, locked while the driver may reach it, as the
// driver's buffers have always been.
uint8_t* AllocateDriverMemory(size_t bytes) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, bytes);
    if (handle == nullptr) return nullptr;
    auto* memory = static_cast<uint8_t*>(GlobalLock(handle));
    if (memory == nullptr) GlobalFree(handle);
    return memory;
}

void FreeDriverMemory(uint8_t* memory) {
    if (memory == nullptr) return;
    HGLOBAL handle = GlobalHandle(memory);
    GlobalUnlock(handle);
    GlobalFree(handle);
}

#endif

bool WithinDriverReach(const void* memory, size_t bytes) {
    const auto start = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(memory));
    return start + bytes <= uint64_t{1} << 32;
}

// Redirects imports of a loaded module: each replaced slot of its import
// address table points at a function of the test until the patches go out of
// scope, when every slot gets its original back (last replaced first).
#pragma once

#include <windows.h>

#include <cstring>

namespace dstest {

class ImportPatches {
public:
    explicit ImportPatches(HMODULE module) : module_(module) {}
    ~ImportPatches() {
        for (int i = count_ - 1; i >= 0; --i) Write(patches_[i].slot, patches_[i].original);
    }
    ImportPatches(const ImportPatches&) = delete;
    ImportPatches& operator=(const ImportPatches&) = delete;

    // Replaces the module's import `name` of `dll`. False when the module
    // does not import it (or no room is left).
    bool Replace(const char* dll, const char* name, void* replacement) {
        if (module_ == nullptr || count_ == kMost) return false;
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
                patches_[count_++] = {slot, *slot};
                Write(slot, replacement);
                return true;
            }
        }
        return false;
    }

    int count() const { return count_; }

private:
    struct Patch {
        void** slot;
        void* original;
    };

    static void Write(void** slot, void* value) {
        DWORD protection;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    }

    static constexpr int kMost = 16;
    HMODULE module_;
    Patch patches_[kMost]{};
    int count_ = 0;
};

}  // namespace dstest

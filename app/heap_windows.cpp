// The programs' C++ allocations, from a heap of their own that keeps its first megabytes.
//
// The process heap hands memory back to the system as soon as 64 KiB at its end are free, and
// takes it again at the next allocation: reading the character files one after another, each
// file's buffer was freshly committed memory, zeroed page by page by the system (under Wine,
// a third of the files' reading time). The memory of a heap created with an initial commit
// stays committed however much of it is freed, so each buffer reuses the last one's pages.

#include <windows.h>

#include <cstddef>
#include <new>

namespace {

HANDLE ProgramHeap() {
    constexpr SIZE_T kKeptCommitted = SIZE_T{8} << 20; // a neighbourhood's files, one at a time
    static HANDLE heap = [] {
        HANDLE made = ::HeapCreate(0, kKeptCommitted, 0);
        return made != nullptr ? made : ::GetProcessHeap();
    }();
    return heap;
}

} // namespace

void* operator new(std::size_t size) {
    if (void* block = ::HeapAlloc(ProgramHeap(), 0, size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void operator delete(void* block) noexcept {
    if (block != nullptr) ::HeapFree(ProgramHeap(), 0, block);
}

void operator delete[](void* block) noexcept {
    operator delete(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    operator delete(block);
}

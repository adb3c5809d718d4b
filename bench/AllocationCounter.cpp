// Counts every heap allocation of the benchmark program. malloc and its kin are replaced here for
// the whole process, so calls from SDL, Mesa, Xlib and the C++ library (operator new) count as
// well; each is passed on to the C library's own allocator. An allocation counts as the game's
// when the code asking for it, past the C and C++ runtime, is the program's own.
#include "bench/AllocationCounter.h"

#include <execinfo.h>
#include <link.h>
#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void* __libc_valloc(size_t size);
void* __libc_pvalloc(size_t size);
void __libc_free(void* p);

// Bounds of the program's own code, set by the linker.
extern char __executable_start;
extern char etext;
}

namespace {
std::atomic<long> allocations{0};
std::atomic<long> gameAllocations{0};

struct CodeRange {
    uintptr_t begin;
    uintptr_t end;
};

// The code of the C and C++ runtime (libc, libstdc++, libgcc), through which the game's
// containers and strings allocate. Found before main; these libraries are never unloaded.
CodeRange runtimeCode[16];
int runtimeRanges = 0;

// Set while this thread walks its stack, whose unwinder may allocate.
thread_local bool walkingStack = false;

bool inProgram(uintptr_t address) {
    return address >= reinterpret_cast<uintptr_t>(&__executable_start) &&
           address < reinterpret_cast<uintptr_t>(&etext);
}

bool inRuntime(uintptr_t address) {
    for (int i = 0; i < runtimeRanges; ++i)
        if (address >= runtimeCode[i].begin && address < runtimeCode[i].end)
            return true;
    return false;
}

int noteRuntimeCode(dl_phdr_info* info, size_t, void*) {
    const char* name = info->dlpi_name;
    if (!std::strstr(name, "/libc.so") && !std::strstr(name, "/libstdc++.so") &&
        !std::strstr(name, "/libgcc_s.so"))
        return 0;
    for (int i = 0; i < info->dlpi_phnum && runtimeRanges < 16; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X)) {
            const uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
            runtimeCode[runtimeRanges++] = {begin, begin + segment.p_memsz};
        }
    }
    return 0;
}

bool findRuntimeCode() {
    walkingStack = true;
    // The first walk loads the unwinder; do it now rather than inside some allocation.
    void* frames[4];
    backtrace(frames, 4);
    dl_iterate_phdr(noteRuntimeCode, nullptr);
    walkingStack = false;
    return runtimeRanges > 0;
}
const bool runtimeCodeFound = findRuntimeCode();

// Whether the code that called the allocator with this return address asked on the game's
// behalf: the program itself, or the runtime called by the program.
bool askedByGame(void* caller) {
    const uintptr_t address = reinterpret_cast<uintptr_t>(caller);
    if (inProgram(address))
        return true;
    if (!inRuntime(address) || walkingStack || !runtimeCodeFound)
        return false;
    walkingStack = true;
    void* frames[64];
    const int depth = backtrace(frames, 64);
    walkingStack = false;
    int i = 0;
    while (i < depth && frames[i] != caller)
        ++i;
    for (; i < depth; ++i) {
        const uintptr_t frame = reinterpret_cast<uintptr_t>(frames[i]);
        if (!inRuntime(frame))
            return inProgram(frame);
    }
    return false;
}

void noteAllocation(void* caller) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (askedByGame(caller))
        gameAllocations.fetch_add(1, std::memory_order_relaxed);
}

void* alignedAllocation(size_t alignment, size_t size, void* caller) {
    noteAllocation(caller);
    return __libc_memalign(alignment, size);
}

void* reallocation(void* p, size_t size, void* caller) {
    noteAllocation(caller);
    return __libc_realloc(p, size);
}
} // namespace

long allocationCount() {
    return allocations.load(std::memory_order_relaxed);
}

long gameAllocationCount() {
    return gameAllocations.load(std::memory_order_relaxed);
}

extern "C" {
void* malloc(size_t size) noexcept {
    noteAllocation(__builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) noexcept {
    noteAllocation(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* p, size_t size) noexcept {
    return reallocation(p, size, __builtin_return_address(0));
}

void* reallocarray(void* p, size_t count, size_t size) noexcept {
    size_t bytes = 0;
    if (__builtin_mul_overflow(count, size, &bytes)) {
        errno = ENOMEM;
        return nullptr;
    }
    return reallocation(p, bytes, __builtin_return_address(0));
}

void* memalign(size_t alignment, size_t size) noexcept {
    return alignedAllocation(alignment, size, __builtin_return_address(0));
}

void* aligned_alloc(size_t alignment, size_t size) noexcept {
    return alignedAllocation(alignment, size, __builtin_return_address(0));
}

int posix_memalign(void** result, size_t alignment, size_t size) noexcept {
    // The alignment must be a power of two and a multiple of a pointer's size.
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = alignedAllocation(alignment, size, __builtin_return_address(0));
    if (!p)
        return ENOMEM;
    *result = p;
    return 0;
}

void* valloc(size_t size) noexcept {
    noteAllocation(__builtin_return_address(0));
    return __libc_valloc(size);
}

void* pvalloc(size_t size) noexcept {
    noteAllocation(__builtin_return_address(0));
    return __libc_pvalloc(size);
}

void free(void* p) noexcept {
    __libc_free(p);
}
}

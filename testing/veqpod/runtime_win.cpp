// The little runtime a library in Microsoft's ABI needs when it is linked
// without a C runtime: memory from the process heap, as Microsoft's runtime
// takes it, and the few symbols the compiler refers to.
#include <stddef.h>

#include "testing/veqpod/standin_records.h"

extern "C" {

__declspec(dllimport) void* __stdcall GetProcessHeap(void);
__declspec(dllimport) void* __stdcall HeapAlloc(void* heap, unsigned long flags, size_t bytes);
__declspec(dllimport) int __stdcall HeapFree(void* heap, unsigned long flags, void* memory);
__declspec(dllimport) int __stdcall HeapValidate(void* heap, unsigned long flags, const void* memory);
__declspec(dllimport) void* __stdcall CreateThread(void* security, size_t stackSize,
                                                   unsigned long(__stdcall* start)(void*), void* parameter,
                                                   unsigned long flags, unsigned long* threadId);
__declspec(dllimport) unsigned long __stdcall WaitForSingleObject(void* handle, unsigned long milliseconds);
__declspec(dllimport) int __stdcall CloseHandle(void* handle);
__declspec(dllimport) unsigned long __stdcall GetEnvironmentVariableA(const char* name, char* buffer,
                                                                      unsigned long size);

// Marks a module that uses floating point.
int _fltused = 0;

// Reached only through a pure virtual slot of an object under construction.
int __cdecl _purecall(void) {
    __builtin_trap();
}

// The compiler emits calls to these for block copies and clears.
void* __cdecl memset(void* destination, int value, size_t count) {
    auto* bytes = static_cast<unsigned char*>(destination);
    while (count-- > 0) *bytes++ = static_cast<unsigned char>(value);
    return destination;
}

void* __cdecl memcpy(void* destination, const void* source, size_t count) {
    auto* to = static_cast<unsigned char*>(destination);
    auto* from = static_cast<const unsigned char*>(source);
    while (count-- > 0) *to++ = *from++;
    return destination;
}

}  // extern "C"

void* operator new(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1);
}

void* operator new[](size_t size) {
    return operator new(size);
}

namespace {
// Blocks handed to delete that the process heap did not allocate. They are
// not freed: freeing them would corrupt the heap they came from.
int g_foreignBlocks = 0;
}  // namespace

void operator delete(void* memory) noexcept {
    if (memory == nullptr) return;
    if (HeapValidate(GetProcessHeap(), 0, memory)) {
        HeapFree(GetProcessHeap(), 0, memory);
    } else {
        __atomic_fetch_add(&g_foreignBlocks, 1, __ATOMIC_RELAXED);
    }
}

void operator delete[](void* memory) noexcept {
    operator delete(memory);
}

void operator delete(void* memory, size_t) noexcept {
    operator delete(memory);
}

void operator delete[](void* memory, size_t) noexcept {
    operator delete(memory);
}

namespace veqpod {

bool heapIsValid() {
    return __atomic_load_n(&g_foreignBlocks, __ATOMIC_RELAXED) == 0 && HeapValidate(GetProcessHeap(), 0, nullptr) != 0;
}

bool environmentText(const char* name, char* buffer, int size) {
    const unsigned long length = GetEnvironmentVariableA(name, buffer, static_cast<unsigned long>(size));
    return length > 0 && length < static_cast<unsigned long>(size);
}

namespace {

struct ThreadStart {
    void (*body)(void*);
    void* context;
};

unsigned long __stdcall runThread(void* started) {
    auto* start = static_cast<ThreadStart*>(started);
    start->body(start->context);
    return 0;
}

}  // namespace

void runOnOwnThreads(void (*body)(void*), void* context, int count) {
    constexpr unsigned long kInfinite = 0xFFFFFFFF;
    ThreadStart start{body, context};
    void* threads[64];
    if (count > 64) count = 64;
    for (int i = 0; i < count; ++i) threads[i] = CreateThread(nullptr, 0, runThread, &start, 0, nullptr);
    for (int i = 0; i < count; ++i) {
        if (threads[i] == nullptr) continue;
        WaitForSingleObject(threads[i], kInfinite);
        CloseHandle(threads[i]);
    }
}

}  // namespace veqpod

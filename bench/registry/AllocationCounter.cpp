#include "bench/registry/AllocationCounter.h"

#include <atomic>
#include <cstddef>

namespace {

std::atomic<uint64_t> heapCalls{0};

void count() {
    heapCalls.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

uint64_t AllocationCounter::calls() {
    return heapCalls.load(std::memory_order_relaxed);
}

// The linker sends every reference to malloc (and the others) from a static object
// here, and __real_malloc to the C library's malloc.
extern "C" {

void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void* __real__Znwm(size_t size);
void* __real__Znam(size_t size);

void* __wrap_malloc(size_t size) {
    count();
    return __real_malloc(size);
}

void* __wrap_calloc(size_t count_, size_t size) {
    count();
    return __real_calloc(count_, size);
}

void* __wrap_realloc(void* block, size_t size) {
    count();
    return __real_realloc(block, size);
}

void* __wrap__Znwm(size_t size) {
    count();
    return __real__Znwm(size);
}

void* __wrap__Znam(size_t size) {
    count();
    return __real__Znam(size);
}

} // extern "C"

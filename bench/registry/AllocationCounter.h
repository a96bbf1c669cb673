#pragma once

#include <cstdint>

// Heap calls made by the objects linked statically into the bench (the lookup engine
// among them). The link wraps malloc, calloc, realloc and the plain operator new and
// new[] (-Wl,--wrap=...); calls made inside shared libraries (libc's own asprintf,
// Qt, libstdc++, libmaxminddb) reach the real functions and are not counted.
class AllocationCounter {
public:
    static uint64_t calls();
};

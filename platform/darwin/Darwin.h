#pragma once

#include "platform/darwin/Backend.h"

#include <sys/stat.h>

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <memory>

// The device's kernel and C library calls that the application makes, with the device's
// signatures and error conventions (-1 or null, and errno). Each call goes to the
// installed backend.
namespace darwin {

int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp, const void* newp,
           size_t newlen);
int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp, size_t newlen);
std::time_t time(std::time_t* out);
FILE* fopen(const char* path, const char* mode);
int stat(const char* path, struct ::stat* st);

// Chooses the backend, once at start-up (tests install their own). Installing null
// returns to the default.
void install(std::shared_ptr<Backend> backend);

// The installed backend; the Linux backend over "/" when none was installed.
// Thread-safe. The reference stays valid until the next install().
Backend& backend();

// The installed backend (the default one once backend() has made it), or null.
std::shared_ptr<Backend> installed();

} // namespace darwin

#include "platform/darwin/Darwin.h"

#include "platform/darwin/linux/LinuxBackend.h"

#include <mutex>

namespace darwin {

namespace {

std::mutex& installMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<Backend>& installedBackend() {
    static std::shared_ptr<Backend> backend;
    return backend;
}

// A call holds its own reference, so a backend replaced meanwhile outlives the call.
std::shared_ptr<Backend> current() {
    std::lock_guard lock(installMutex());
    std::shared_ptr<Backend>& backend = installedBackend();
    if (!backend) {
        backend = std::make_shared<LinuxBackend>("/");
    }
    return backend;
}

} // namespace

int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp, const void* newp,
           size_t newlen) {
    return current()->sysctl(name, namelen, oldp, oldlenp, newp, newlen);
}

int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, const void* newp, size_t newlen) {
    return current()->sysctlbyname(name, oldp, oldlenp, newp, newlen);
}

std::time_t time(std::time_t* out) {
    const std::time_t now = current()->time();
    if (out != nullptr) {
        *out = now;
    }
    return now;
}

FILE* fopen(const char* path, const char* mode) {
    return current()->fopen(path, mode);
}

int stat(const char* path, struct ::stat* st) {
    return current()->stat(path, st);
}

void install(std::shared_ptr<Backend> backend) {
    std::lock_guard lock(installMutex());
    installedBackend() = std::move(backend);
}

Backend& backend() {
    return *current();
}

std::shared_ptr<Backend> installed() {
    std::lock_guard lock(installMutex());
    return installedBackend();
}

} // namespace darwin

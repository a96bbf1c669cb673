#pragma once

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/fixture/FixtureBackend.h"

#include <memory>

// A fixture kernel with a known clock, boot time, load and login records, installed
// for the life of the object.
class SystemFixture {
public:
    static constexpr std::time_t kNow = 1'700'000'000;

    SystemFixture() : backend(std::make_shared<darwin::FixtureBackend>()) {
        backend->setTime(kNow);
        bootedSecondsAgo(3661);
        setLoad(3072, 512, 0);
        setUsers({});
        darwin::install(backend);
    }
    ~SystemFixture() { darwin::install(nullptr); }
    SystemFixture(const SystemFixture&) = delete;
    SystemFixture& operator=(const SystemFixture&) = delete;

    void bootedSecondsAgo(long long seconds) {
        std::vector<unsigned char> bytes(darwin::timeval32::Layout::kSize);
        darwin::timeval32::Layout::encode({static_cast<int32_t>(kNow - seconds), 0}, bytes.data());
        backend->setSysctl({darwin::CTL_KERN, darwin::KERN_BOOTTIME}, bytes);
    }

    // Fixed-point values over a scale of 2048.
    void setLoad(uint32_t oneMinute, uint32_t fiveMinutes, uint32_t fifteenMinutes) {
        std::vector<unsigned char> bytes(darwin::loadavg32::Layout::kSize);
        darwin::loadavg32::Layout::encode(
            {{oneMinute, fiveMinutes, fifteenMinutes}, darwin::FSCALE}, bytes.data());
        backend->setSysctl({darwin::CTL_VM, darwin::VM_LOADAVG}, bytes);
    }

    // Logged-in users on ttys000, ttys001, … idle for `idleSeconds` each.
    void setUsers(const std::vector<std::string>& users, long long idleSeconds = 100) {
        std::vector<darwin::UtmpxEntry> entries; // the file's signature record comes first
        for (size_t i = 0; i < users.size(); ++i) {
            darwin::UtmpxEntry login;
            login.user = users[i];
            login.line = "ttys00" + std::to_string(i);
            login.type = darwin::utmpx::USER_PROCESS;
            login.tv.sec = static_cast<int32_t>(kNow - 5000);
            entries.push_back(login);
            backend->setStat("/dev/" + login.line, kNow - idleSeconds);
        }
        backend->setFile(darwin::utmpx::kPath, darwin::FixtureBackend::utmpxFile(entries));
    }

    // A string node as the kernel answers it (NUL-terminated), and a 32-bit one.
    static std::vector<unsigned char> nodeText(const std::string& text) {
        std::vector<unsigned char> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return bytes;
    }
    static std::vector<unsigned char> nodeInt32(int32_t value) {
        std::vector<unsigned char> bytes(4);
        darwin::writeLE(bytes.data(), 0, value);
        return bytes;
    }

    std::shared_ptr<darwin::FixtureBackend> backend;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The device's login accounting record (struct utmpx, 628 bytes) and file.
namespace darwin {

namespace utmpx {
constexpr size_t kSize = 628;
constexpr size_t kUser = 0;
constexpr size_t kUserSize = 256;
constexpr size_t kId = 256;
constexpr size_t kIdSize = 4;
constexpr size_t kLine = 260;
constexpr size_t kLineSize = 32;
constexpr size_t kPid = 292;
constexpr size_t kType = 296; // int16, then 2 bytes of padding
constexpr size_t kTvSec = 300;
constexpr size_t kTvUsec = 304;
constexpr size_t kHost = 308;
constexpr size_t kHostSize = 256;
constexpr size_t kPad = 564; // u32[16], always zero

constexpr int16_t EMPTY = 0;
constexpr int16_t RUN_LVL = 1;
constexpr int16_t BOOT_TIME = 2;
constexpr int16_t OLD_TIME = 3;
constexpr int16_t NEW_TIME = 4;
constexpr int16_t INIT_PROCESS = 5;
constexpr int16_t LOGIN_PROCESS = 6;
constexpr int16_t USER_PROCESS = 7;
constexpr int16_t DEAD_PROCESS = 8;
constexpr int16_t ACCOUNTING = 9;
constexpr int16_t SIGNATURE = 10;
constexpr int16_t SHUTDOWN_TIME = 11;

// The first record of every accounting file carries this user name and SIGNATURE.
constexpr const char* kSignatureUser = "utmpx-1.00";
constexpr const char* kPath = "/var/run/utmpx";
} // namespace utmpx

// One decoded record. Text fields hold at most their field's size.
struct UtmpxEntry {
    std::string user;
    std::string id;
    std::string line;
    std::string host;
    int32_t pid = 0;
    int16_t type = utmpx::EMPTY;
    int32_t tvSec = 0;
    int32_t tvUsec = 0;

    bool operator==(const UtmpxEntry&) const = default;
};

// Writes all 628 bytes of a record (text truncated, padding zero).
void encodeUtmpx(const UtmpxEntry& entry, unsigned char* record628);
UtmpxEntry decodeUtmpx(const unsigned char* record628);

// The record the C library writes first when it creates the accounting file.
UtmpxEntry utmpxSignatureEntry();

// A whole accounting file as the device keeps it: the signature record, then one
// record per entry in the given order.
std::vector<unsigned char> encodeUtmpxFile(const std::vector<UtmpxEntry>& entries);

} // namespace darwin

#pragma once

#include "platform/darwin/RecordLayout.h"
#include "platform/darwin/Sysctl.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The device's login accounting record (struct utmpx, 628 bytes) and file.
namespace darwin {

namespace utmpx {
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
    Timeval32 tv;

    bool operator==(const UtmpxEntry&) const = default;
};

// Text is cut to its field the way strncpy does.
namespace utmpx {
using Layout = RecordLayout<UtmpxEntry, 628,                                // struct utmpx
                            Field<&UtmpxEntry::user, 0, Text<256>>,         // ut_user
                            Field<&UtmpxEntry::id, 256, Text<4>>,           // ut_id
                            Field<&UtmpxEntry::line, 260, Text<32>>,        // ut_line
                            Field<&UtmpxEntry::pid, 292>,                   // ut_pid
                            Field<&UtmpxEntry::type, 296>,                  // ut_type, then padding
                            Field<&UtmpxEntry::tv, 300, timeval32::Layout>, // ut_tv
                            Field<&UtmpxEntry::host, 308, Text<256>>>;      // ut_host, then ut_pad
} // namespace utmpx

// The record the C library writes first when it creates the accounting file.
UtmpxEntry utmpxSignatureEntry();

// A whole accounting file as the device keeps it: the signature record, then one
// record per entry in the given order.
std::vector<unsigned char> encodeUtmpxFile(const std::vector<UtmpxEntry>& entries);

} // namespace darwin

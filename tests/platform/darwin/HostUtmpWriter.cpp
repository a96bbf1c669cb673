#include "HostUtmpWriter.h"

#include <utmpx.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace hostutmp {

const short kBootTime = BOOT_TIME;
const short kNewTime = NEW_TIME;
const short kOldTime = OLD_TIME;
const short kLoginProcess = LOGIN_PROCESS;
const short kUserProcess = USER_PROCESS;
const short kDeadProcess = DEAD_PROCESS;

namespace {

template <size_t N> void copyField(char (&field)[N], const std::string& text) {
    std::memcpy(field, text.data(), std::min(text.size(), N));
}

} // namespace

void write(const std::string& path, const std::vector<Record>& records, size_t trailingBytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const Record& record : records) {
        struct utmpx native;
        std::memset(&native, 0, sizeof native);
        native.ut_type = record.type;
        native.ut_pid = record.pid;
        copyField(native.ut_user, record.user);
        copyField(native.ut_id, record.id);
        copyField(native.ut_line, record.line);
        copyField(native.ut_host, record.host);
        native.ut_tv.tv_sec = record.tvSec;
        native.ut_tv.tv_usec = record.tvUsec;
        out.write(reinterpret_cast<const char*>(&native), sizeof native);
    }
    out << std::string(trailingBytes, '\x7f');
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace hostutmp

#pragma once

#include <string>
#include <vector>

// Writes utmp files in the host C library's native layout, as login programs do. Kept
// apart from the device headers: the host names its record types with macros.
namespace hostutmp {

extern const short kBootTime;
extern const short kNewTime;
extern const short kOldTime;
extern const short kLoginProcess;
extern const short kUserProcess;
extern const short kDeadProcess;

struct Record {
    short type = 0;
    std::string user;
    std::string id;
    std::string line;
    std::string host;
    int pid = 0;
    int tvSec = 0;
    int tvUsec = 0;
};

// Text longer than a host field is cut to it (a full field keeps no NUL). trailingBytes
// of junk after the last record imitate a writer caught mid-record.
void write(const std::string& path, const std::vector<Record>& records, size_t trailingBytes = 0);

} // namespace hostutmp

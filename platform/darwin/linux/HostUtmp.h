#pragma once

#include "platform/darwin/linux/HostLogin.h"

#include <optional>
#include <string>
#include <vector>

namespace darwin {

// The records of a host utmp file (the C library's native struct utmpx), in file
// order. The file is read whole with plain reads, not through getutxent, which keeps
// process-wide state. A trailing partial record is ignored. Null when the file cannot
// be read.
std::optional<std::vector<HostLogin>> readHostUtmp(const std::string& path);

} // namespace darwin

#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace darwin {

// The KEY=value lines of the host's small configuration files (os-release(5),
// machine-info(5)): blank lines and '#' comments are skipped, a value in double or
// single quotes loses them, and inside double quotes a backslash keeps the next
// character as it is. A later line overrides an earlier one.
using Assignments = std::map<std::string, std::string, std::less<>>;
Assignments parseAssignments(std::string_view text);

// The value of key, or nothing when the file does not set it or sets it empty.
std::optional<std::string> assignedValue(const Assignments& assignments, std::string_view key);

// The system's os-release(5) under root: /etc/os-release, else /usr/lib/os-release.
// Null with errno set when neither is readable.
std::optional<std::string> readOsRelease(const std::string& root);

} // namespace darwin

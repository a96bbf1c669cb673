#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace darwin {

// A device path as seen under the host root ("/" leaves paths unchanged).
std::string pathUnderRoot(const std::string& root, std::string_view path);

// The whole content of a regular host file, read without stdio (close-on-exec, short
// reads and EINTR handled). Anything but a regular file is refused rather than waited
// on (session directories hold FIFOs). Null with errno set on failure.
std::optional<std::string> readHostFile(const std::string& path);

// The names in a host directory, without "." and "..", sorted; empty when unreadable.
std::vector<std::string> listHostDirectory(const std::string& path);

} // namespace darwin

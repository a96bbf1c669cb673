#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace darwin {

// User and group names. Under the host root "/" the host's account databases answer,
// through the C library (so NSS sources such as LDAP count) with its re-entrant calls;
// under another root, the files <root>/etc/passwd and <root>/etc/group.
class AccountNames {
public:
    explicit AccountNames(std::string root);

    std::optional<std::string> userName(uint32_t uid) const;
    std::optional<std::string> groupName(uint32_t gid) const;

    // The name of the first entry with that id in a passwd or group file ("name:x:id:…").
    static std::optional<std::string> nameInFile(std::string_view content, uint32_t id);

private:
    bool isHostRoot() const;
    std::optional<std::string> nameInRootFile(const char* path, uint32_t id) const;

    std::string root_;
};

} // namespace darwin

#pragma once

#include "platform/darwin/Utmpx.h"
#include "platform/darwin/linux/HostLogin.h"

#include <string>
#include <vector>

namespace darwin {

// The device's login accounting file made from the host's login records: the host's
// utmp (<root>/run/utmp, else <root>/var/run/utmp) when it keeps one, else the
// systemd-logind sessions (<root>/run/systemd/sessions).
class LoginAccounting {
public:
    explicit LoginAccounting(std::string root);

    // The host's records in the device's form, in the host's order.
    std::vector<UtmpxEntry> entries() const;
    // The whole file: signature record, then entries().
    std::vector<unsigned char> file() const;

    static int16_t deviceType(LoginKind kind);
    // Text and numbers cut to the device's field widths.
    static UtmpxEntry deviceEntry(const HostLogin& login);

private:
    std::vector<HostLogin> hostLogins() const;

    std::string root_;
};

} // namespace darwin

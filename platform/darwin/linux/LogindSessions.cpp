#include "platform/darwin/linux/LogindSessions.h"

#include "platform/darwin/linux/TextFields.h"

#include "platform/darwin/linux/HostFile.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace darwin {

namespace {

using Keys = std::map<std::string, std::string, std::less<>>;

Keys parseKeys(std::string_view text) {
    Keys keys;
    while (!text.empty()) {
        const std::string_view line = nextLine(text);
        const size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        keys.emplace(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
    }
    return keys;
}

std::string valueOf(const Keys& keys, std::string_view key) {
    const auto found = keys.find(key);
    return found != keys.end() ? found->second : std::string();
}

int64_t numberOf(const Keys& keys, std::string_view key) {
    return parseNumber<int64_t>(valueOf(keys, key)).value_or(0);
}

std::optional<LoginKind> kindOf(const Keys& keys) {
    const std::string state = valueOf(keys, "STATE");
    if (state == "active" || state == "online") {
        return LoginKind::UserProcess;
    }
    if (state == "closing") {
        return LoginKind::DeadProcess;
    }
    if (state.empty() && valueOf(keys, "ACTIVE") == "1") {
        return LoginKind::UserProcess;
    }
    return std::nullopt;
}

bool isPersonsSession(const Keys& keys) {
    const std::string sessionClass = valueOf(keys, "CLASS");
    return sessionClass.empty() || sessionClass.starts_with("user");
}

std::string lineOf(const Keys& keys) {
    std::string tty = valueOf(keys, "TTY");
    if (tty.starts_with("/dev/")) {
        tty.erase(0, 5);
    }
    for (const std::string& candidate : {tty, valueOf(keys, "DISPLAY"), valueOf(keys, "SEAT")}) {
        if (!candidate.empty()) {
            return candidate;
        }
    }
    return "?";
}

} // namespace

std::optional<HostLogin> parseLogindSession(std::string_view sessionId, std::string_view text) {
    const Keys keys = parseKeys(text);
    const std::optional<LoginKind> kind = kindOf(keys);
    if (!kind || !isPersonsSession(keys)) {
        return std::nullopt;
    }
    HostLogin login;
    login.kind = *kind;
    login.user = valueOf(keys, "USER");
    login.id = std::string(sessionId);
    login.line = lineOf(keys);
    login.host = valueOf(keys, "REMOTE_HOST");
    login.pid = numberOf(keys, "LEADER");
    const int64_t realtime = numberOf(keys, "REALTIME");
    login.tvSec = realtime / 1000000;
    login.tvUsec = realtime % 1000000;
    return login;
}

std::vector<HostLogin> readLogindSessions(const std::string& directory) {
    std::vector<HostLogin> sessions;
    for (const std::string& name : listHostDirectory(directory)) {
        if (name.find('.') != std::string::npos) {
            continue; // "<id>.ref" FIFOs and temporary files
        }
        const std::optional<std::string> text = readHostFile(directory + "/" + name);
        if (!text) {
            continue;
        }
        if (std::optional<HostLogin> session = parseLogindSession(name, *text)) {
            sessions.push_back(std::move(*session));
        }
    }
    std::stable_sort(sessions.begin(), sessions.end(), [](const HostLogin& a, const HostLogin& b) {
        return std::tie(a.tvSec, a.tvUsec) < std::tie(b.tvSec, b.tvUsec);
    });
    return sessions;
}

} // namespace darwin

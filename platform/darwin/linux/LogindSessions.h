#pragma once

#include "platform/darwin/linux/HostLogin.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace darwin {

// One systemd-logind session file (KEY=value lines) as a login record:
// - STATE "active" or "online" → a user process, "closing" → a dead process; a session
//   still "opening" is not a login yet (no STATE: ACTIVE=1 counts as active);
// - only sessions of people (CLASS "user…", or none given): greeters, lock screens,
//   background and per-user manager sessions are nobody's login;
// - line = TTY without "/dev/", else DISPLAY, else SEAT, else "?";
// - user = USER, host = REMOTE_HOST, pid = LEADER, id = the session id,
//   time = REALTIME (microseconds since the epoch).
std::optional<HostLogin> parseLogindSession(std::string_view sessionId, std::string_view text);

// All sessions in a logind session directory, ordered by login time, then id.
std::vector<HostLogin> readLogindSessions(const std::string& directory);

} // namespace darwin

#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace darwin {

// The start time (kinfo_proc's p_starttime.tv_sec) of the process that has the pid now,
// or null when there is none.
using StartTimeOf = std::function<std::optional<int32_t>(int32_t pid)>;

// Sends sig to pid only if the process holding that pid started at startSeconds; a
// vanished or reused pid fails with ESRCH. The process is pinned with a pidfd first and
// its start time read afterwards, so the check and the signal concern the same process
// even if it exits and its pid is reused in between. Kernels without pidfd (before 5.3)
// get check-then-kill(2), which leaves that window open. Other failures as kill(2).
int signalProcessStartedAt(int32_t pid, int32_t startSeconds, int sig, const StartTimeOf& startOf);

} // namespace darwin

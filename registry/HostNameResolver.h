#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Finds the host names of many IPv4 addresses at once through reverse DNS (the first
// PTR answer), for `ormel --lookup --resolve`: up to maxInFlight queries run at a
// time, each on a thread of its own with its own resolver state, and each server gets
// one try of timeoutSeconds. An address asked again is answered from the names kept;
// past keptLimit addresses they are forgotten and asked afresh.
class HostNameResolver {
public:
    static constexpr int maxInFlight = 16;
    static constexpr int timeoutSeconds = 1;
    static constexpr size_t keptLimit = 4096;

    // The host name of each address (host byte order), index for index; empty where
    // no name came in time (no PTR, no such name, no answer).
    std::vector<std::string> namesOf(const std::vector<uint32_t>& addresses);
    void forget() { known_.clear(); }

private:
    void ask(const std::vector<uint32_t>& addresses);

    std::unordered_map<uint32_t, std::string> known_;
};

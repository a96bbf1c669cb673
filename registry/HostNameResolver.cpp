#include "registry/HostNameResolver.h"

#include "registry/ReverseDNS.h"
#include "registry/dnsReply.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <unordered_set>

std::vector<std::string> HostNameResolver::namesOf(const std::vector<uint32_t>& addresses) {
    if (known_.size() + addresses.size() > keptLimit) {
        known_.clear();
    }
    std::vector<uint32_t> unknown;
    std::unordered_set<uint32_t> seen;
    for (const uint32_t address : addresses) {
        if (!known_.contains(address) && seen.insert(address).second) {
            unknown.push_back(address);
        }
    }
    ask(unknown);
    std::vector<std::string> names;
    names.reserve(addresses.size());
    for (const uint32_t address : addresses) {
        names.push_back(known_[address]);
    }
    return names;
}

// Queries every address once, on up to maxInFlight threads that take the next
// address as each finishes, and keeps the names.
void HostNameResolver::ask(const std::vector<uint32_t>& addresses) {
    std::vector<std::string> names(addresses.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < addresses.size(); i = next++) {
            std::vector<std::string> answers;
            const std::string query = ReverseDNS::reverseName(addresses[i]);
            if (my_query(query.c_str(), dns_type_ptr, answers, timeoutSeconds) == 0 &&
                !answers.empty()) {
                names[i] = std::move(answers.front());
            }
        }
    };
    std::vector<std::thread> threads;
    const size_t count = std::min<size_t>(maxInFlight, addresses.size());
    for (size_t t = 0; t < count; ++t) {
        threads.emplace_back(work);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (size_t i = 0; i < addresses.size(); ++i) {
        known_.emplace(addresses[i], std::move(names[i]));
    }
}

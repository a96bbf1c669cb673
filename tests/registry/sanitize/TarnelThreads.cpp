// ThreadSanitizer check of the registry engine's locking: three threads look
// addresses up, through tl_lookup and through the unlocked steps inside a
// tl_read_begin/tl_read_end hold, while the main thread closes and reopens the
// registry file. Every answer must equal the one the file gave before the threads
// started, or be the "not open" failure.
//
//     tarnel_threads_tsan REGISTRY-FILE [REOPENINGS]

#include "registry/tarnel.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

constexpr const char* probeTexts[] = {
    "8.8.8.8",  "1.1.1.1",         "127.0.0.1",   "10.1.2.3",    "192.168.1.1",
    "41.0.0.1", "193.0.14.129",    "202.12.29.1", "200.160.0.1", "224.0.0.1",
    "0.0.0.0",  "255.255.255.254", "256.1.1.1",   "1.2.3",       "not an address"};
constexpr int workerCount = 3;
constexpr int defaultReopenings = 200;

// One validation and lookup: everything they answer, or nothing when the module was
// closed at the time.
struct Outcome {
    bool closed = false;
    bool valid = false;
    int result = -1;
    tl_answer answer{};
    std::string network;

    bool operator==(const Outcome& other) const {
        const auto fields = [](const Outcome& o) {
            return std::tie(o.result, o.answer.registry, o.answer.country, o.answer.date,
                            o.answer.status, o.answer.first, o.answer.end, o.network);
        };
        return fields(*this) == fields(other);
    }
};

Outcome lookUp(const char* text) {
    Outcome outcome;
    outcome.valid = tl_validate(text) == 0;
    char* network = nullptr;
    errno = 0;
    outcome.result = tl_lookup(text, &outcome.answer, &network);
    outcome.closed = outcome.result == -1 && errno == ECANCELED;
    if (network != nullptr) {
        outcome.network = network;
        std::free(network);
    }
    return outcome;
}

// The same through the unlocked steps, as the streaming lookup takes them: the
// caller holds the module open.
Outcome lookUpHeld(const char* text) {
    Outcome outcome;
    uint32_t address = 0;
    outcome.valid = tl_parse_address(text, std::strlen(text), &address) == 0;
    if (!outcome.valid) {
        return outcome; // tl_lookup scans what it is given, the parser refuses it
    }
    errno = 0;
    const tl_range* range = lookup_database(address);
    outcome.closed = range == nullptr && errno == ECANCELED;
    if (range != nullptr) {
        outcome.result = tl_answer_of(range, &outcome.answer);
        char* network = nullptr;
        if (assigned_network(range, &network) == 0) {
            outcome.network = network;
        }
        std::free(network);
    }
    return outcome;
}

// The reference answers must themselves be right for blocks that never move.
bool soundReference(const std::vector<Outcome>& reference) {
    const auto code = [&](int probe) {
        const Outcome& o = reference[probe];
        return o.result == 0 ? std::string(o.answer.country->code) : std::string();
    };
    return code(2) == "SIP06" && code(3) == "SIP02" && reference[0].valid && !reference[12].valid;
}

void work(const std::vector<Outcome>& reference, const std::atomic<bool>& stop,
          std::atomic<long>& checked, std::atomic<long>& wrong) {
    while (!stop.load()) {
        for (size_t probe = 0; probe < reference.size(); ++probe) {
            const Outcome outcome = lookUp(probeTexts[probe]);
            // A closed module may refuse text, never pass bad text; its lookups fail.
            const bool right = (!outcome.valid || reference[probe].valid) &&
                               (outcome.closed || outcome == reference[probe]);
            if (!right) {
                std::fprintf(stderr, "%s: the answer changed\n", probeTexts[probe]);
                ++wrong;
            }
            ++checked;
        }
        tl_read_begin();
        for (size_t probe = 0; probe < reference.size(); ++probe) {
            const Outcome outcome = lookUpHeld(probeTexts[probe]);
            const bool right = outcome.valid == reference[probe].valid &&
                               (!outcome.valid || outcome.closed || outcome == reference[probe]);
            if (!right) {
                std::fprintf(stderr, "%s: the held answer changed\n", probeTexts[probe]);
                ++wrong;
            }
            ++checked;
        }
        tl_read_end();
        uint8_t count = 0;
        tl_meta_registries(&count);
    }
}

} // namespace

// glibc's regexec serializes calls on one compiled pattern with a lock of its
// own that ThreadSanitizer cannot see, so the shared pattern's scratch buffers
// look raced. Interceptors called from inside libc are not reported; the
// engine's own accesses stay checked.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libc.so.6\n";
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s REGISTRY-FILE [REOPENINGS]\n", argv[0]);
        return 2;
    }
    const char* path = argv[1];
    const int reopenings = argc > 2 ? std::atoi(argv[2]) : defaultReopenings;
    if (tl_init(path) != 0) {
        std::perror(path);
        return 1;
    }
    std::vector<Outcome> reference;
    for (const char* text : probeTexts) {
        reference.push_back(lookUp(text));
    }
    if (!soundReference(reference)) {
        std::fprintf(stderr, "%s: wrong answers before any thread started\n", path);
        return 1;
    }

    std::atomic<bool> stop{false};
    std::atomic<long> checked{0};
    std::atomic<long> wrong{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < workerCount; ++i) {
        workers.emplace_back(work, std::cref(reference), std::cref(stop), std::ref(checked),
                             std::ref(wrong));
    }
    int failedReopenings = 0;
    for (int i = 0; i < reopenings; ++i) {
        failedReopenings += tl_finish() != 0;
        std::this_thread::yield();
        failedReopenings += tl_init(path) != 0;
    }
    stop = true;
    for (std::thread& worker : workers) {
        worker.join();
    }
    tl_finish();
    std::printf("%d reopenings (%d failed), %ld lookups checked, %ld wrong\n", reopenings,
                failedReopenings, checked.load(), wrong.load());
    return wrong == 0 && failedReopenings == 0 ? 0 : 1;
}

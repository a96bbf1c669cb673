// The address registry's lookups, each step of the engine and the Registry screen's
// search, beside libmaxminddb over the same addresses. Two address sets of 1 000 000
// each, drawn once with fixed seeds: uniform over the whole IPv4 space, and uniform
// over the addresses the registry file covers. Every benchmark iteration looks up one
// address, walking its set from the start, so a benchmark's time is one lookup's.
//
// The registry file and the MaxMind database come from --registry=PATH and
// --mmdb=PATH (or ORMEL_REGISTRY_FILE and ORMEL_MMDB_FILE); without a database the
// libmaxminddb benchmarks are skipped. bench/registry-vs-maxminddb.py fetches the
// database and prints the medians side by side.
#include "bench/registry/AllocationCounter.h"
#include "registry/TarnelDB.h"
#include "registry/tarnel.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#ifdef ORMEL_HAVE_MAXMINDDB
#include <arpa/inet.h>
#include <maxminddb.h>
#include <netinet/in.h>
#endif

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t addressCount = 1'000'000;

enum class AddressSet { Uniform, Covered };

// One set of addresses in every form a lookup takes, prepared before any timing.
struct Addresses {
    std::vector<uint32_t> numbers;
    std::vector<std::array<char, 16>> texts;
    QStringList strings;
#ifdef ORMEL_HAVE_MAXMINDDB
    std::vector<sockaddr_in> sockets;
#endif
};

struct Paths {
    std::string registry;
    std::string mmdb;
};

Paths paths;

// The raw 32-bit output of the generator, so the sets do not depend on the standard
// library's distributions. The covered set keeps the draws a range holds.
std::vector<uint32_t> drawAddresses(AddressSet set) {
    std::mt19937 generator(set == AddressSet::Uniform ? 20240611u : 20240612u);
    std::vector<uint32_t> numbers;
    numbers.reserve(addressCount);
    while (numbers.size() < addressCount) {
        const uint32_t address = generator();
        if (set == AddressSet::Uniform || lookup_database_unindexed(address) != nullptr) {
            numbers.push_back(address);
        }
    }
    return numbers;
}

Addresses prepare(AddressSet set) {
    Addresses prepared;
    prepared.numbers = drawAddresses(set);
    prepared.texts.resize(addressCount);
    prepared.strings.reserve(addressCount);
    for (size_t i = 0; i < addressCount; ++i) {
        const uint32_t a = prepared.numbers[i];
        std::snprintf(prepared.texts[i].data(), prepared.texts[i].size(), "%u.%u.%u.%u", a >> 24,
                      (a >> 16) & 0xffu, (a >> 8) & 0xffu, a & 0xffu);
        prepared.strings.append(QString::fromLatin1(prepared.texts[i].data()));
#ifdef ORMEL_HAVE_MAXMINDDB
        sockaddr_in socket{};
        socket.sin_family = AF_INET;
        socket.sin_addr.s_addr = htonl(a);
        prepared.sockets.push_back(socket);
#endif
    }
    return prepared;
}

const Addresses& addresses(AddressSet set) {
    static const Addresses uniform = prepare(AddressSet::Uniform);
    static const Addresses covered = prepare(AddressSet::Covered);
    return set == AddressSet::Uniform ? uniform : covered;
}

// Whether a benchmark reports heap calls per lookup: only where all the code that
// runs is linked statically, so that the wrapped allocator sees every call.
enum class HeapCalls { Report, Omit };

// One lookup per iteration, address i of the set; `lookup(i)` tells whether the
// address was found. Reports the share found and, when asked, the heap calls per lookup.
template <typename Lookup> void runLookups(benchmark::State& state, HeapCalls heap, Lookup lookup) {
    size_t i = 0;
    uint64_t found = 0;
    const uint64_t heapCallsBefore = AllocationCounter::calls();
    for (auto _ : state) {
        found += lookup(i) ? 1 : 0;
        if (++i == addressCount) {
            i = 0;
        }
    }
    const uint64_t heapCalls = AllocationCounter::calls() - heapCallsBefore;
    const auto lookups = static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations());
    state.counters["found"] = static_cast<double>(found) / lookups;
    if (heap == HeapCalls::Report) {
        state.counters["allocs_per_lookup"] = static_cast<double>(heapCalls) / lookups;
    }
}

void BM_LookupDatabase(benchmark::State& state, AddressSet set) {
    const std::vector<uint32_t>& numbers = addresses(set).numbers;
    runLookups(state, HeapCalls::Report, [&](size_t i) {
        const tl_range* range = lookup_database(numbers[i]);
        benchmark::DoNotOptimize(range);
        return range != nullptr;
    });
}
BENCHMARK_CAPTURE(BM_LookupDatabase, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_LookupDatabase, covered, AddressSet::Covered);

void BM_LookupDatabaseUnindexed(benchmark::State& state, AddressSet set) {
    const std::vector<uint32_t>& numbers = addresses(set).numbers;
    runLookups(state, HeapCalls::Report, [&](size_t i) {
        const tl_range* range = lookup_database_unindexed(numbers[i]);
        benchmark::DoNotOptimize(range);
        return range != nullptr;
    });
}
BENCHMARK_CAPTURE(BM_LookupDatabaseUnindexed, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_LookupDatabaseUnindexed, covered, AddressSet::Covered);

// The record plus its country code: what the country-code lookup in libmaxminddb
// below gives.
void BM_LookupDatabaseCountry(benchmark::State& state, AddressSet set) {
    const std::vector<uint32_t>& numbers = addresses(set).numbers;
    runLookups(state, HeapCalls::Report, [&](size_t i) {
        const tl_range* range = lookup_database(numbers[i]);
        if (range == nullptr) {
            return false;
        }
        const tl_tld_entry* country = lookup_tld_table(tl_range_country(range));
        benchmark::DoNotOptimize(country);
        return country != nullptr;
    });
}
BENCHMARK_CAPTURE(BM_LookupDatabaseCountry, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_LookupDatabaseCountry, covered, AddressSet::Covered);

void BM_TlLookup(benchmark::State& state, AddressSet set) {
    const std::vector<std::array<char, 16>>& texts = addresses(set).texts;
    runLookups(state, HeapCalls::Omit, [&](size_t i) {
        tl_answer answer{};
        char* network = nullptr;
        const int result = tl_lookup(texts[i].data(), &answer, &network);
        benchmark::DoNotOptimize(network);
        std::free(network);
        return result == 0;
    });
}
BENCHMARK_CAPTURE(BM_TlLookup, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_TlLookup, covered, AddressSet::Covered);

void BM_TlLookupNoNetwork(benchmark::State& state, AddressSet set) {
    const std::vector<std::array<char, 16>>& texts = addresses(set).texts;
    runLookups(state, HeapCalls::Omit, [&](size_t i) {
        tl_answer answer{};
        const int result = tl_lookup(texts[i].data(), &answer, nullptr);
        benchmark::DoNotOptimize(answer);
        return result == 0;
    });
}
BENCHMARK_CAPTURE(BM_TlLookupNoNetwork, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_TlLookupNoNetwork, covered, AddressSet::Covered);

void BM_Search(benchmark::State& state, AddressSet set) {
    const QStringList& strings = addresses(set).strings;
    const TarnelDB* registry = TarnelDB::sharedInstance();
    runLookups(state, HeapCalls::Omit, [&](size_t i) {
        const QStringList texts = registry->search(strings[static_cast<qsizetype>(i)]);
        benchmark::DoNotOptimize(texts.constData());
        return !texts.isEmpty();
    });
}
BENCHMARK_CAPTURE(BM_Search, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_Search, covered, AddressSet::Covered);

#ifdef ORMEL_HAVE_MAXMINDDB
MMDB_s maxmind{};
bool maxmindOpen = false;

bool maxmindReady(benchmark::State& state) {
    if (!maxmindOpen) {
        state.SkipWithError("no MaxMind database: pass --mmdb=PATH or set ORMEL_MMDB_FILE");
    }
    return maxmindOpen;
}

MMDB_lookup_result_s maxmindLookup(const sockaddr_in& socket) {
    int error = MMDB_SUCCESS;
    return MMDB_lookup_sockaddr(&maxmind, reinterpret_cast<const sockaddr*>(&socket), &error);
}

void BM_MaxMindLookup(benchmark::State& state, AddressSet set) {
    if (!maxmindReady(state)) {
        return;
    }
    const std::vector<sockaddr_in>& sockets = addresses(set).sockets;
    runLookups(state, HeapCalls::Omit, [&](size_t i) {
        MMDB_lookup_result_s result = maxmindLookup(sockets[i]);
        benchmark::DoNotOptimize(result);
        return result.found_entry;
    });
}
BENCHMARK_CAPTURE(BM_MaxMindLookup, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_MaxMindLookup, covered, AddressSet::Covered);

void BM_MaxMindCountry(benchmark::State& state, AddressSet set) {
    if (!maxmindReady(state)) {
        return;
    }
    const std::vector<sockaddr_in>& sockets = addresses(set).sockets;
    runLookups(state, HeapCalls::Omit, [&](size_t i) {
        MMDB_lookup_result_s result = maxmindLookup(sockets[i]);
        if (!result.found_entry) {
            return false;
        }
        MMDB_entry_data_s data{};
        if (MMDB_get_value(&result.entry, &data, "country_code", nullptr) != MMDB_SUCCESS ||
            !data.has_data) {
            return false;
        }
        benchmark::DoNotOptimize(data.utf8_string);
        return true;
    });
}
BENCHMARK_CAPTURE(BM_MaxMindCountry, uniform, AddressSet::Uniform);
BENCHMARK_CAPTURE(BM_MaxMindCountry, covered, AddressSet::Covered);
#endif

// Opening the file: reading it whole, the copy of the registry records, the /16 index and the
// address pattern. The close before each open is not timed.
void BM_TlInit(benchmark::State& state) {
    uint64_t heapCalls = 0;
    int failures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tl_finish();
        const uint64_t before = AllocationCounter::calls();
        state.ResumeTiming();
        failures += tl_init(paths.registry.c_str()) != 0 ? 1 : 0;
        heapCalls += AllocationCounter::calls() - before;
    }
    if (failures > 0) {
        state.SkipWithError("tl_init failed");
    }
    state.counters["records"] = static_cast<double>(tl_current_state().rangeCount);
    state.counters["engine_allocs_per_init"] =
        static_cast<double>(heapCalls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TlInit)->Unit(benchmark::kMicrosecond);

// --name=VALUE taken out of the arguments, or the environment variable, or the fallback.
std::string takeOption(int& argc, char** argv, std::string_view name, const char* variable,
                       const char* fallback) {
    const std::string prefix = "--" + std::string(name) + "=";
    std::string value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) {
            value = argv[i] + prefix.size();
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (value.empty() && std::getenv(variable) != nullptr) {
        value = std::getenv(variable);
    }
    return value.empty() ? fallback : value;
}

// The Registry screen's registry on a private copy of the file in a throw-away
// documents directory, which it opens before the shipped one.
bool openRegistry(const QTemporaryDir& documents) {
    const QString copy = documents.filePath(QString::fromLatin1(TarnelDB::fileName));
    if (!QFile::copy(QFile::decodeName(paths.registry.c_str()), copy)) {
        std::fprintf(stderr, "cannot read the registry file %s\n", paths.registry.c_str());
        return false;
    }
    const TarnelDB* registry = TarnelDB::sharedInstance();
    if (!registry->ready() || registry->openPath() != copy) {
        std::fprintf(stderr, "the registry did not open %s\n", qPrintable(copy));
        return false;
    }
    return true;
}

#ifdef ORMEL_HAVE_MAXMINDDB
void openMaxMind() {
    if (paths.mmdb.empty()) {
        return;
    }
    const int status = MMDB_open(paths.mmdb.c_str(), MMDB_MODE_MMAP, &maxmind);
    if (status != MMDB_SUCCESS) {
        std::fprintf(stderr, "cannot open %s: %s\n", paths.mmdb.c_str(), MMDB_strerror(status));
        return;
    }
    maxmindOpen = true;
}
#endif

} // namespace

int main(int argc, char** argv) {
    paths.registry =
        takeOption(argc, argv, "registry", "ORMEL_REGISTRY_FILE", ORMEL_DEFAULT_REGISTRY_FILE);
    paths.mmdb = takeOption(argc, argv, "mmdb", "ORMEL_MMDB_FILE", "");
    ::setenv("ORMEL_RESOURCE_DIR", ORMEL_BUNDLE_DIR, 0);
    const QTemporaryDir documents;
    ::setenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(documents.path()).constData(), 1);
    QCoreApplication application(argc, argv);
    if (!documents.isValid() || !openRegistry(documents)) {
        return 1;
    }
#ifdef ORMEL_HAVE_MAXMINDDB
    openMaxMind();
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
#ifdef ORMEL_HAVE_MAXMINDDB
    if (maxmindOpen) {
        MMDB_close(&maxmind);
    }
#endif
    return 0;
}

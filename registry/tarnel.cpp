#include "registry/tarnel.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Descriptor.h"

#include <bit>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <locale.h>
#include <mutex>
#include <shared_mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using darwin::Descriptor;

constexpr const char* dottedQuadPattern =
    "^((25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)$";

// Index slots: one per /16 plus the end, each the number of records whose first
// address lies below that /16.
constexpr size_t indexSlots = (1u << 16) + 1;

tl_state tarnel = {nullptr, -1, 0, nullptr, 0, nullptr, nullptr, 0, nullptr, 0};
std::shared_mutex tarnelLock;
thread_local tl_refusal lastRefusal = {TL_OPENED, 0, 0};

// A file written over while it is read (cp, curl -o) is read again after a pause in
// which the writer may finish; one still changing after that is refused.
constexpr int readAttempts = 4;
constexpr long readPauseNanoseconds = 20'000'000;

enum RangeField : size_t { First = 0, End = 4, Country = 8, Registry = 12, Date = 16, Status = 20 };

uint32_t rangeField(const tl_range* range, RangeField field) {
    return darwin::readLE<uint32_t>(range->bytes, field);
}

const tl_range* rangeAt(uint32_t i) {
    return tarnel.ranges + i;
}

// The probe loop over records lo..hi: the record holding the address, or
// null with errno ENOENT. Every record that can hold the address lies in lo..hi.
const tl_range* searchRanges(int64_t lo, int64_t hi, uint32_t address) {
    while (lo <= hi) {
        const int64_t mid = (lo + hi) / 2;
        const uint32_t first = rangeField(rangeAt(static_cast<uint32_t>(mid)), First);
        if (first < address) {
            lo = mid + 1;
        } else if (first == address) {
            return rangeAt(static_cast<uint32_t>(mid));
        } else {
            hi = mid - 1;
        }
    }
    if (hi >= 0 && address < rangeField(rangeAt(static_cast<uint32_t>(hi)), End)) {
        return rangeAt(static_cast<uint32_t>(hi));
    }
    errno = ENOENT;
    return nullptr;
}

// Every range must end after it starts and before the next one starts: a search over
// records out of order, or over empty or overlapping ones, gives wrong answers.
bool rangesAreOrdered(const tl_state& state) {
    uint32_t previousEnd = 0;
    for (uint32_t i = 0; i < state.rangeCount; ++i) {
        const uint32_t first = rangeField(state.ranges + i, First);
        const uint32_t end = rangeField(state.ranges + i, End);
        if (first >= end || (i > 0 && first < previousEnd)) {
            return false;
        }
        previousEnd = end;
    }
    return true;
}

uint32_t* buildIndex(const tl_state& state) {
    auto* index = static_cast<uint32_t*>(std::malloc(indexSlots * sizeof(uint32_t)));
    if (index == nullptr) {
        return nullptr;
    }
    uint32_t record = 0;
    for (size_t slot = 0; slot < indexSlots; ++slot) {
        const uint64_t slotStart = static_cast<uint64_t>(slot) << 16;
        while (record < state.rangeCount && rangeField(state.ranges + record, First) < slotStart) {
            ++record;
        }
        index[slot] = record;
    }
    return index;
}

// The pattern is compiled in the C locale: it is about ASCII digits and dots, and
// a pattern compiled for a multi-byte locale decodes every character of every text
// it is matched against (three times slower).
regex_t* compilePattern() {
    auto* pattern = static_cast<regex_t*>(std::malloc(sizeof(regex_t)));
    if (pattern == nullptr) {
        return nullptr;
    }
    const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t previous = cLocale != locale_t{} ? uselocale(cLocale) : locale_t{};
    const int compiled = regcomp(pattern, dottedQuadPattern, REG_EXTENDED | REG_NOSUB);
    if (cLocale != locale_t{}) {
        uselocale(previous);
        freelocale(cLocale);
    }
    if (compiled != 0) {
        std::free(pattern);
        return nullptr;
    }
    return pattern;
}

void freePattern(tl_state& state) {
    if (state.pattern != nullptr) {
        regfree(state.pattern);
        std::free(state.pattern);
        state.pattern = nullptr;
    }
}

// Frees what a state holds and leaves it closed; the generation stays.
void releaseState(tl_state& state) {
    std::free(state.registries);
    std::free(state.index);
    std::free(const_cast<unsigned char*>(state.base));
    freePattern(state);
    const uint64_t generation = state.generation;
    state = {nullptr, -1, 0, nullptr, 0, nullptr, nullptr, 0, nullptr, generation};
}

// A file opened for reading: its copy, or why it was refused.
struct Loaded {
    tl_state state = {nullptr, -1, 0, nullptr, 0, nullptr, nullptr, 0, nullptr, 0};
    tl_refusal refusal = {TL_OPENED, 0, 0};

    Loaded() = default;
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
    ~Loaded() { releaseState(state); }

    bool refuse(tl_refusal_reason reason, int error = 0, unsigned fileType = 0) {
        releaseState(state);
        refusal = {reason, error, fileType};
        return false;
    }
};

bool sameFile(const struct stat& before, const struct stat& after) {
    return before.st_ino == after.st_ino && before.st_size == after.st_size &&
           before.st_mtim.tv_sec == after.st_mtim.tv_sec &&
           before.st_mtim.tv_nsec == after.st_mtim.tv_nsec;
}

// Up to `capacity` bytes from the start of the file: the count read, or -1.
ssize_t readUpTo(int fd, unsigned char* buffer, size_t capacity) {
    size_t done = 0;
    while (done < capacity) {
        const ssize_t count = pread(fd, buffer + done, capacity - done, static_cast<off_t>(done));
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        done += static_cast<size_t>(count);
    }
    return static_cast<ssize_t>(done);
}

enum class ReadResult { Whole, Changed, Refused };

// One attempt at the whole file: read into a buffer one byte longer than the size,
// so that a file that grew shows, and taken only when size and modification time
// are the same after the read as before it and the read gave exactly the size.
ReadResult readOnce(int fd, Loaded& loaded) {
    struct stat before {};
    if (fstat(fd, &before) != 0) {
        loaded.refuse(TL_CANNOT_READ, errno);
        return ReadResult::Refused;
    }
    if (!S_ISREG(before.st_mode)) {
        loaded.refuse(TL_NOT_REGULAR, 0, before.st_mode & S_IFMT);
        return ReadResult::Refused;
    }
    if (before.st_size > static_cast<off_t>(TL_MAX_FILE_SIZE)) {
        loaded.refuse(TL_TOO_LARGE);
        return ReadResult::Refused;
    }
    const auto size = static_cast<size_t>(before.st_size);
    auto* buffer = static_cast<unsigned char*>(std::malloc(size + 1));
    if (buffer == nullptr) {
        loaded.refuse(TL_NO_MEMORY, ENOMEM);
        return ReadResult::Refused;
    }
    loaded.state.base = buffer;
    const ssize_t count = readUpTo(fd, buffer, size + 1);
    if (count < 0) {
        loaded.refuse(TL_CANNOT_READ, errno);
        return ReadResult::Refused;
    }
    struct stat after {};
    if (fstat(fd, &after) != 0) {
        loaded.refuse(TL_CANNOT_READ, errno);
        return ReadResult::Refused;
    }
    if (static_cast<size_t>(count) != size || !sameFile(before, after)) {
        releaseState(loaded.state);
        return ReadResult::Changed;
    }
    loaded.state.length = static_cast<uint32_t>(size);
    return ReadResult::Whole;
}

bool readWhole(const char* path, Loaded& loaded) {
    // O_NONBLOCK keeps a FIFO at the path from blocking the open; O_NOFOLLOW refuses
    // a link, which the kernel reports as ELOOP.
    const Descriptor file(open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        return errno == ELOOP ? loaded.refuse(TL_NOT_REGULAR, 0, S_IFLNK)
                              : loaded.refuse(TL_CANNOT_READ, errno);
    }
    for (int attempt = 0; attempt < readAttempts; ++attempt) {
        if (attempt > 0) {
            const timespec pause{0, readPauseNanoseconds};
            nanosleep(&pause, nullptr);
        }
        switch (readOnce(file.get(), loaded)) {
        case ReadResult::Whole:
            return true;
        case ReadResult::Refused:
            return false;
        case ReadResult::Changed:
            break;
        }
    }
    return loaded.refuse(TL_CHANGED_WHILE_READ);
}

// A file too short for the registry records its first byte announces is refused:
// the range base would lie beyond the copy.
bool holdsItsHeader(uint32_t length, uint8_t registryCount) {
    return length >= 1 + TL_REGISTRY_RECORD_SIZE * registryCount;
}

// The records of the file's copy: registry copy, ranges, index and pattern.
bool takeRecords(Loaded& loaded) {
    tl_state& state = loaded.state;
    if (state.length == 0 || !holdsItsHeader(state.length, state.base[0])) {
        return loaded.refuse(TL_TOO_SHORT);
    }
    state.registryCount = state.base[0];
    const size_t registryBytes = TL_REGISTRY_RECORD_SIZE * state.registryCount;
    state.registries =
        static_cast<unsigned char*>(std::malloc(registryBytes > 0 ? registryBytes : 1));
    if (state.registries != nullptr) {
        std::memcpy(state.registries, state.base + 1, registryBytes);
    }
    state.ranges = reinterpret_cast<const tl_range*>(state.base + 1 + registryBytes);
    // A trailing partial record is not part of the table.
    state.rangeCount =
        static_cast<uint32_t>((state.length - 1 - registryBytes) / TL_RANGE_RECORD_SIZE);
    if (!rangesAreOrdered(state)) {
        return loaded.refuse(TL_OUT_OF_ORDER);
    }
    state.index = buildIndex(state);
    state.pattern = compilePattern();
    return true;
}

int errnoOf(const tl_refusal& refusal) {
    switch (refusal.reason) {
    case TL_OPENED:
        return 0;
    case TL_CANNOT_READ:
    case TL_NO_MEMORY:
        return refusal.error;
    case TL_NOT_REGULAR:
        return refusal.fileType == S_IFLNK ? ELOOP : EINVAL;
    case TL_TOO_LARGE:
        return EFBIG;
    case TL_CHANGED_WHILE_READ:
        return EAGAIN;
    case TL_TOO_SHORT:
    case TL_OUT_OF_ORDER:
        break;
    }
    return EINVAL;
}

} // namespace

const tl_state& tl_current_state() {
    return tarnel;
}

uint32_t tl_range_first(const tl_range* range) {
    return rangeField(range, First);
}
uint32_t tl_range_end(const tl_range* range) {
    return rangeField(range, End);
}
uint32_t tl_range_country(const tl_range* range) {
    return rangeField(range, Country);
}
uint32_t tl_range_registry(const tl_range* range) {
    return rangeField(range, Registry);
}
uint32_t tl_range_date(const tl_range* range) {
    return rangeField(range, Date);
}
uint32_t tl_range_status(const tl_range* range) {
    return rangeField(range, Status);
}

// The file is read and checked without the lock, so lookups go on over the file
// open until then; a refused file leaves the module closed.
int tl_init(const char* path) {
    Loaded loaded;
    const bool opened = readWhole(path, loaded) && takeRecords(loaded);
    lastRefusal = loaded.refusal;
    {
        std::unique_lock lock(tarnelLock);
        const uint64_t generation = tarnel.generation + 1;
        releaseState(tarnel);
        if (opened) {
            std::swap(tarnel, loaded.state);
        }
        tarnel.generation = generation;
    }
    if (!opened) {
        errno = errnoOf(lastRefusal);
        return -1;
    }
    return 0;
}

int tl_check(const char* path, uint32_t* rangeCount) {
    Loaded loaded;
    const bool whole = readWhole(path, loaded) && takeRecords(loaded);
    lastRefusal = loaded.refusal;
    if (!whole) {
        errno = errnoOf(lastRefusal);
        return -1;
    }
    if (rangeCount != nullptr) {
        *rangeCount = loaded.state.rangeCount;
    }
    return 0;
}

tl_refusal tl_last_refusal() {
    return lastRefusal;
}

int tl_finish() {
    std::unique_lock lock(tarnelLock);
    releaseState(tarnel);
    ++tarnel.generation;
    return 0;
}

void regexp_finish() {
    std::unique_lock lock(tarnelLock);
    freePattern(tarnel);
}

uint64_t tl_read_begin() {
    tarnelLock.lock_shared();
    return tarnel.generation;
}

void tl_read_end() {
    tarnelLock.unlock_shared();
}

int tl_validate(const char* text) {
    std::shared_lock lock(tarnelLock);
    if (tarnel.pattern == nullptr || text == nullptr) {
        return -1;
    }
    return regexec(tarnel.pattern, text, 0, nullptr, 0) == 0 ? 0 : -1;
}

int tl_parse_address(const char* text, size_t length, uint32_t* address) {
    const char* at = text;
    const char* const end = text + length;
    uint32_t parsed = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (at == end || *at != '.') {
                return -1;
            }
            ++at;
        }
        const char* const digitsStart = at;
        uint32_t value = 0;
        while (at != end && at - digitsStart < 4 && static_cast<unsigned char>(*at - '0') <= 9) {
            value = value * 10 + static_cast<uint32_t>(*at - '0');
            ++at;
        }
        const ptrdiff_t digits = at - digitsStart;
        if (digits == 0 || digits > 3 || value > 255) {
            return -1;
        }
        parsed = (parsed << 8) | value;
    }
    if (at != end) {
        return -1;
    }
    *address = parsed;
    return 0;
}

const tl_range* lookup_database(uint32_t address) {
    if (tarnel.index == nullptr) {
        return lookup_database_unindexed(address);
    }
    errno = 0;
    const uint32_t slot = address >> 16;
    // The record holding the address starts below the next /16 and no earlier
    // than the last record starting below this one.
    const int64_t lo = static_cast<int64_t>(tarnel.index[slot]) - 1;
    const int64_t hi = static_cast<int64_t>(tarnel.index[slot + 1]) - 1;
    return searchRanges(lo < 0 ? 0 : lo, hi, address);
}

const tl_range* lookup_database_unindexed(uint32_t address) {
    if (tarnel.base == nullptr) {
        errno = ECANCELED;
        return nullptr;
    }
    errno = 0;
    return searchRanges(0, static_cast<int64_t>(tarnel.rangeCount) - 1, address);
}

const tl_range* lookup_database2(const char* text) {
    if (text == nullptr || *text == '\0') {
        errno = EINVAL;
        return nullptr;
    }
    int a = 0, b = 0, c = 0, d = 0;
    if (std::sscanf(text, "%3d.%3d.%3d.%3d", &a, &b, &c, &d) != 4) {
        return nullptr;
    }
    const uint32_t address = (static_cast<uint32_t>(a) << 24) + (static_cast<uint32_t>(b) << 16) +
                             (static_cast<uint32_t>(c) << 8) + static_cast<uint32_t>(d);
    return lookup_database(address);
}

int assigned_network(const tl_range* range, char** network) {
    *network = nullptr;
    const uint32_t first = tl_range_first(range);
    const uint32_t size = tl_range_end(range) - first;
    if (size < 2 || size > (1u << 28)) {
        return -1;
    }
    const int prefix = 32 - std::bit_width(size - 1);
    if (asprintf(network, "%u.%u.%u.%u/%d", first >> 24, (first >> 16) & 0xffu,
                 (first >> 8) & 0xffu, first & 0xffu, prefix) < 0) {
        *network = nullptr;
        return -1;
    }
    return 0;
}

const tl_tld_entry* lookup_tld_table(uint32_t index) {
    return index < TL_TLD_ROWS ? &tldTable[index] : nullptr;
}

const tl_rir_entry* lookup_rir_table(uint32_t index) {
    return index < TL_RIR_ROWS ? &rirTable[index] : nullptr;
}

int tl_answer_of(const tl_range* range, tl_answer* answer) {
    const uint32_t status = tl_range_status(range);
    answer->registry = lookup_rir_table(tl_range_registry(range));
    answer->country = lookup_tld_table(tl_range_country(range));
    answer->date = tl_range_date(range);
    answer->status = status < TL_STATUS_ROWS ? statusTable[status] : nullptr;
    answer->first = tl_range_first(range);
    answer->end = tl_range_end(range);
    return answer->registry != nullptr && answer->country != nullptr ? 0 : -1;
}

int tl_lookup(const char* text, tl_answer* answer, char** network) {
    std::shared_lock lock(tarnelLock);
    const tl_range* range = lookup_database2(text);
    if (range == nullptr) {
        return -1;
    }
    if (network != nullptr) {
        assigned_network(range, network);
    }
    return tl_answer_of(range, answer);
}

int tl_meta_registries(uint8_t* count) {
    std::shared_lock lock(tarnelLock);
    if (tarnel.registries == nullptr) {
        return -1;
    }
    *count = tarnel.registryCount;
    return 0;
}

int tl_meta_registry_info(uint8_t record, tl_registry_info* info) {
    std::shared_lock lock(tarnelLock);
    const tl_rir_entry* registry = lookup_rir_table(record + 1u);
    if (tarnel.registries == nullptr || record >= tarnel.registryCount || registry == nullptr) {
        return -1;
    }
    const unsigned char* fields = tarnel.registries + TL_REGISTRY_RECORD_SIZE * record;
    info->registry = registry;
    info->count = darwin::readLE<int32_t>(fields, 4);
    info->date = darwin::readLE<uint32_t>(fields, 8);
    return 0;
}

#include "registry/tarnel.h"

#include "platform/darwin/ByteOrder.h"

#include <bit>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <mutex>
#include <shared_mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* dottedQuadPattern =
    "^((25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)$";

// Index slots: one per /16 plus the end, each the number of records whose first
// address lies below that /16.
constexpr size_t indexSlots = (1u << 16) + 1;

tl_state tarnel = {nullptr, -1, 0, nullptr, 0, nullptr, nullptr, 0, nullptr};
std::shared_mutex tarnelLock;

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
bool rangesAreOrdered() {
    uint32_t previousEnd = 0;
    for (uint32_t i = 0; i < tarnel.rangeCount; ++i) {
        const uint32_t first = rangeField(rangeAt(i), First);
        const uint32_t end = rangeField(rangeAt(i), End);
        if (first >= end || (i > 0 && first < previousEnd)) {
            return false;
        }
        previousEnd = end;
    }
    return true;
}

uint32_t* buildIndex() {
    auto* index = static_cast<uint32_t*>(std::malloc(indexSlots * sizeof(uint32_t)));
    if (index == nullptr) {
        return nullptr;
    }
    uint32_t record = 0;
    for (size_t slot = 0; slot < indexSlots; ++slot) {
        const uint64_t slotStart = static_cast<uint64_t>(slot) << 16;
        while (record < tarnel.rangeCount && rangeField(rangeAt(record), First) < slotStart) {
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

void freePattern() {
    if (tarnel.pattern != nullptr) {
        regfree(tarnel.pattern);
        std::free(tarnel.pattern);
        tarnel.pattern = nullptr;
    }
}

int releaseState() {
    std::free(tarnel.registries);
    tarnel.registries = nullptr;
    std::free(tarnel.index);
    tarnel.index = nullptr;
    tarnel.rangeCount = 0;
    int result = 0;
    if (tarnel.base != nullptr) {
        const int unmapped = munmap(const_cast<unsigned char*>(tarnel.base), tarnel.length);
        if (unmapped == 0) {
            tarnel.base = nullptr;
            tarnel.ranges = nullptr;
        }
        result += unmapped;
    }
    if (tarnel.descriptor >= 0) {
        // Linux releases the descriptor even when close reports an error: closing
        // it again later could close a descriptor reused by someone else.
        result += close(tarnel.descriptor);
        tarnel.descriptor = -1;
    }
    freePattern();
    return result;
}

// A refused open leaves the module closed, mapping released whatever munmap says.
int failOpen(int error) {
    releaseState();
    tarnel.base = nullptr;
    tarnel.ranges = nullptr;
    errno = error;
    return -1;
}

// A file too short for the registry records its first byte announces is refused:
// the range base would lie beyond the mapping.
bool holdsItsHeader(uint32_t length, uint8_t registryCount) {
    return length >= 1 + TL_REGISTRY_RECORD_SIZE * registryCount;
}

int openLocked(const char* path) {
    releaseState();
    // O_NONBLOCK keeps a FIFO at the path from blocking the open; only regular
    // files are mapped.
    tarnel.descriptor = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (tarnel.descriptor < 0) {
        return -1;
    }
    struct stat info {};
    if (fstat(tarnel.descriptor, &info) != 0) {
        return failOpen(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return failOpen(EINVAL);
    }
    if (info.st_size > static_cast<off_t>(UINT32_MAX)) {
        return failOpen(EFBIG);
    }
    tarnel.length = static_cast<uint32_t>(info.st_size);
    void* mapping = mmap(nullptr, tarnel.length, PROT_READ, MAP_PRIVATE, tarnel.descriptor, 0);
    if (mapping == MAP_FAILED) {
        return failOpen(errno);
    }
    tarnel.base = static_cast<const unsigned char*>(mapping);
    tarnel.registryCount = tarnel.base[0];
    if (!holdsItsHeader(tarnel.length, tarnel.registryCount)) {
        return failOpen(EINVAL);
    }
    const size_t registryBytes = TL_REGISTRY_RECORD_SIZE * tarnel.registryCount;
    tarnel.registries =
        static_cast<unsigned char*>(std::malloc(registryBytes > 0 ? registryBytes : 1));
    if (tarnel.registries != nullptr) {
        std::memcpy(tarnel.registries, tarnel.base + 1, registryBytes);
    }
    tarnel.ranges = reinterpret_cast<const tl_range*>(tarnel.base + 1 + registryBytes);
    // A trailing partial record is not part of the table.
    tarnel.rangeCount =
        static_cast<uint32_t>((tarnel.length - 1 - registryBytes) / TL_RANGE_RECORD_SIZE);
    if (!rangesAreOrdered()) {
        return failOpen(EINVAL);
    }
    tarnel.index = buildIndex();
    tarnel.pattern = compilePattern();
    return 0;
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

int tl_init(const char* path) {
    std::unique_lock lock(tarnelLock);
    return openLocked(path);
}

int tl_finish() {
    std::unique_lock lock(tarnelLock);
    return releaseState();
}

void regexp_finish() {
    std::unique_lock lock(tarnelLock);
    freePattern();
}

int tl_validate(const char* text) {
    std::shared_lock lock(tarnelLock);
    if (tarnel.pattern == nullptr || text == nullptr) {
        return -1;
    }
    return regexec(tarnel.pattern, text, 0, nullptr, 0) == 0 ? 0 : -1;
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

int tl_lookup(const char* text, tl_answer* answer, char** network) {
    std::shared_lock lock(tarnelLock);
    const tl_range* range = lookup_database2(text);
    if (range == nullptr) {
        return -1;
    }
    const uint32_t status = tl_range_status(range);
    answer->registry = lookup_rir_table(tl_range_registry(range));
    answer->country = lookup_tld_table(tl_range_country(range));
    answer->date = tl_range_date(range);
    answer->status = status < TL_STATUS_ROWS ? statusTable[status] : nullptr;
    answer->first = tl_range_first(range);
    answer->end = tl_range_end(range);
    if (network != nullptr) {
        assigned_network(range, network);
    }
    return answer->registry != nullptr && answer->country != nullptr ? 0 : -1;
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

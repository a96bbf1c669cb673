#include "platform/darwin/linux/ProcessTable.h"

#include "platform/darwin/linux/HostFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace darwin {

namespace {

// Reading /proc is kernel work that grows with the table; from this many processes on,
// each further thread takes its own run of pids.
constexpr size_t kProcessesPerThread = 512;
constexpr unsigned kMaxThreads = 4;

long clockTicksPerSecond() {
    static const long ticks = ::sysconf(_SC_CLK_TCK);
    return ticks > 0 ? ticks : 100;
}

long pageSize() {
    static const long size = ::sysconf(_SC_PAGESIZE);
    return size > 0 ? size : 4096;
}

unsigned threadsFor(size_t processes) {
    const unsigned cores = std::max(std::thread::hardware_concurrency(), 1u);
    const size_t wanted = std::max<size_t>(processes / kProcessesPerThread, 1);
    return static_cast<unsigned>(std::min<size_t>({wanted, cores, kMaxThreads}));
}

// Out of descriptors or memory: every further process would fail the same way. A
// process gone, or one this user may not read (hidepid, a security module), is left out.
bool isResourceShortage(int error) {
    return error == EMFILE || error == ENFILE || error == ENOMEM;
}

bool isZombie(char linuxState) {
    return linuxState == 'Z' || linuxState == 'X' || linuxState == 'x';
}

} // namespace

ProcessTable::ProcessTable(const std::string& root)
    : proc_(ProcDirectory::open(pathUnderRoot(root, "/proc"))),
      openError_(proc_.isOpen() ? 0 : errno), root_(root) {}

std::optional<size_t> ProcessTable::count() const {
    const std::optional<std::vector<int32_t>> pids = proc_.pids();
    return pids ? std::optional<size_t>(pids->size()) : std::nullopt;
}

// Each run of pids is encoded in place in its own slice of the table; the slices are
// then closed up over the processes that could not be read.
std::optional<std::vector<unsigned char>> ProcessTable::records() {
    if (!readClock()) {
        return std::nullopt;
    }
    const std::optional<std::vector<int32_t>> listed = proc_.pids();
    if (!listed) {
        return std::nullopt;
    }
    const std::vector<int32_t>& pids = *listed;
    std::vector<unsigned char> table(pids.size() * kinfo_proc::Layout::kSize);
    const unsigned runs = threadsFor(pids.size());
    const size_t runLength = (pids.size() + runs - 1) / std::max(runs, 1u);
    std::vector<size_t> filled(runs, 0);
    std::vector<int> errors(runs, 0);
    std::vector<std::thread> helpers;
    helpers.reserve(runs);
    for (unsigned run = 0; run < runs; ++run) {
        const size_t first = std::min(run * runLength, pids.size());
        const size_t count = std::min(runLength, pids.size() - first);
        unsigned char* out = table.data() + first * kinfo_proc::Layout::kSize;
        auto encode = [this, &pids, &filled, &errors, run, first, count, out] {
            filled[run] = encodeRecords(pids.data() + first, count, out, errors[run]);
        };
        try {
            if (run + 1 < runs) {
                helpers.emplace_back(encode);
                continue;
            }
        } catch (const std::system_error&) {
            // No thread to be had: this thread reads the run itself.
        }
        encode();
    }
    for (std::thread& helper : helpers) {
        helper.join();
    }
    const auto failed = std::find_if(errors.begin(), errors.end(), [](int e) { return e != 0; });
    if (failed != errors.end()) {
        errno = *failed;
        return std::nullopt;
    }
    size_t end = 0;
    for (unsigned run = 0; run < runs; ++run) {
        const size_t first = std::min(run * runLength, pids.size());
        std::memmove(table.data() + end * kinfo_proc::Layout::kSize,
                     table.data() + first * kinfo_proc::Layout::kSize,
                     filled[run] * kinfo_proc::Layout::kSize);
        end += filled[run];
    }
    table.resize(end * kinfo_proc::Layout::kSize);
    return table;
}

size_t ProcessTable::encodeRecords(const int32_t* pids, size_t count, unsigned char* out,
                                   int& error) const {
    ProcessReader reader;
    KinfoProc record;
    size_t filled = 0;
    for (size_t i = 0; i < count; ++i) {
        if (reader.read(proc_, pids[i])) {
            mapLinuxProcess(reader.stat(), reader.status(), *clock_, record);
            kinfo_proc::Layout::encode(record, out + filled * kinfo_proc::Layout::kSize);
            ++filled;
        } else if (isResourceShortage(errno)) {
            error = errno; // the table would be a guess
            return filled;
        }
    }
    return filled;
}

std::optional<KinfoProc> ProcessTable::process(int32_t pid) {
    if (!readClock() || !reader_.read(proc_, pid)) {
        return std::nullopt;
    }
    KinfoProc record;
    mapLinuxProcess(reader_.stat(), reader_.status(), *clock_, record);
    return record;
}

std::optional<ProcTaskInfo> ProcessTable::taskInfo(int32_t pid) {
    if (!reader_.read(proc_, pid, ProcessReader::Files::WithMemory)) {
        return std::nullopt;
    }
    if (isZombie(reader_.stat().state)) {
        errno = ESRCH; // the device has no task left to ask about a zombie
        return std::nullopt;
    }
    return mapLinuxTaskInfo(reader_.stat(), reader_.residentPages(), pageSize(),
                            clockTicksPerSecond());
}

std::optional<int32_t> ProcessTable::startSeconds(int32_t pid) {
    if (!readClock() || !reader_.read(proc_, pid)) {
        return std::nullopt;
    }
    return deviceStartTime(reader_.stat().starttime, *clock_).seconds;
}

bool ProcessTable::readClock() {
    if (clock_) {
        return true;
    }
    const std::optional<std::string> procStat = readHostFile(pathUnderRoot(root_, "/proc/stat"));
    if (!procStat) {
        return false;
    }
    const std::optional<int64_t> bootTime = parseBootTime(*procStat);
    if (!bootTime) {
        errno = EIO;
        return false;
    }
    clock_ = ProcessClock{*bootTime, clockTicksPerSecond()};
    return true;
}

} // namespace darwin

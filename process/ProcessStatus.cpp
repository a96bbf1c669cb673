#include "process/ProcessStatus.h"

#include "common/AppState.h"
#include "common/ElapsedTimeText.h"
#include "common/LogCategories.h"
#include "common/NumberText.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Sysctl.h"
#include "process/AccountNames.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

// Processes started between the size probe and the read can outgrow the kernel's slack;
// the read then fails with ENOMEM and is tried again, probed anew and with more room
// each time, as BSD's ps does.
constexpr int kTableReads = 4;

// The last raw dump of the process table, kept from one snapshot to the next.
struct TableBuffer {
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;
};

TableBuffer& kern_pinfo() {
    static TableBuffer buffer;
    return buffer;
}

// Reads the whole process table into `table`; the bytes the kernel wrote, or nothing
// (and a warning) when it cannot be read.
std::optional<size_t> readProcessTable(TableBuffer& table) {
    int mib[3] = {darwin::CTL_KERN, darwin::KERN_PROC, darwin::KERN_PROC_ALL};
    int error = 0;
    for (int read = 0; read < kTableReads; ++read) {
        size_t size = 0;
        if (darwin::sysctl(mib, 3, nullptr, &size, nullptr, 0) == -1) {
            qCWarning(lcProcess, "process table: sysctl kern.proc.all size probe: %s",
                      std::strerror(errno));
            return std::nullopt;
        }
        size += size / 10 * static_cast<size_t>(read);
        table.bytes.reset(new unsigned char[size > 0 ? size : 1]);
        table.size = size;
        if (darwin::sysctl(mib, 3, table.bytes.get(), &size, nullptr, 0) == 0) {
            return size;
        }
        error = errno;
        if (error != ENOMEM) {
            break;
        }
    }
    qCWarning(lcProcess, "process table: sysctl kern.proc.all: %s", std::strerror(error));
    return std::nullopt;
}

} // namespace

ProcessStatus* ProcessStatus::sharedInstance() {
    static ProcessStatus* instance = new ProcessStatus();
    return instance;
}

void ProcessStatus::removeAllData() {
    info_.clear();
}

void ProcessStatus::snapshot() {
    info_.clear();
    TableBuffer& table = kern_pinfo();
    const std::optional<size_t> size = readProcessTable(table);
    if (!size) {
        return;
    }
    const size_t count = *size / darwin::kinfo_proc::Layout::kSize;
    AccountNames names;
    info_.reserve(static_cast<qsizetype>(count));
    for (size_t i = count; i-- > 0;) {
        const unsigned char* record = table.bytes.get() + i * darwin::kinfo_proc::Layout::kSize;
        const int32_t pid = darwin::kinfo_proc::Layout::read<&darwin::KinfoProc::pid>(record);
        info_.append(std::make_shared<const ProcessInfo>(pid, names));
    }
}

QString ProcessStatus::stringWithUptime(const QDateTime& date) {
    const long long now = darwin::time(nullptr);
    const long long seconds = date.isValid() ? std::llabs(now - date.toSecsSinceEpoch()) : 0;
    return ElapsedTimeText::fromSeconds(seconds, ElapsedTimeText::HoursPadding::Zero);
}

QString ProcessStatus::stringWithOccupiedMemoryForPID(int32_t pid) {
    std::array<unsigned char, darwin::proc_taskinfo::Layout::kSize> taskInfo{};
    const int written = darwin::proc_pidinfo(pid, darwin::PROC_PIDTASKINFO, 0, taskInfo.data(),
                                             static_cast<int>(taskInfo.size()));
    if (written <= 0) {
        return QStringLiteral("? MB");
    }
    const uint64_t resident =
        darwin::proc_taskinfo::Layout::read<&darwin::ProcTaskInfo::residentSize>(taskInfo.data());
    const double megabytes = static_cast<double>(resident) / 1024.0 / 1024.0;
    return numberText(AppState::ofSharedApplication(), megabytes, 1) + QStringLiteral(" MB");
}

void ProcessStatus::finalize() {
    kern_pinfo().bytes.reset();
    kern_pinfo().size = 0;
}

size_t ProcessStatus::tableBufferSize() {
    return kern_pinfo().size;
}

#include "process/ProcessStatus.h"

#include "common/ElapsedTimeText.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Sysctl.h"
#include "process/AccountNames.h"

#include <array>
#include <cstdlib>

namespace {

// The last raw dump of the process table, kept from one snapshot to the next.
struct TableBuffer {
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;
};

TableBuffer& kern_pinfo() {
    static TableBuffer buffer;
    return buffer;
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
    int mib[3] = {darwin::CTL_KERN, darwin::KERN_PROC, darwin::KERN_PROC_ALL};
    size_t size = 0;
    if (darwin::sysctl(mib, 3, nullptr, &size, nullptr, 0) == -1) {
        return;
    }
    TableBuffer& table = kern_pinfo();
    table.bytes.reset(new unsigned char[size > 0 ? size : 1]);
    table.size = size;
    if (darwin::sysctl(mib, 3, table.bytes.get(), &size, nullptr, 0) == -1) {
        return;
    }
    const size_t count = size / darwin::kinfo_proc::Layout::kSize;
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
    return QString::asprintf("%.1f MB", static_cast<double>(resident) / 1024.0 / 1024.0);
}

void ProcessStatus::finalize() {
    kern_pinfo().bytes.reset();
    kern_pinfo().size = 0;
}

size_t ProcessStatus::tableBufferSize() {
    return kern_pinfo().size;
}

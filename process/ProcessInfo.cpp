#include "process/ProcessInfo.h"

#include "common/NameText.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Proc.h"
#include "platform/darwin/Sysctl.h"
#include "process/AccountNames.h"

#include <array>

namespace {

const char* const kStateTexts[] = {"??????", "idle", "run", "sleep", "stop", "zombie"};

// The music player's command name is cut to 15 characters by the kernel.
constexpr char kTruncatedMusicPlayer[] = "MobileMusicPlay";

} // namespace

ProcessInfo::ProcessInfo(int32_t pid) {
    AccountNames names;
    read(pid, names);
}

ProcessInfo::ProcessInfo(int32_t pid, AccountNames& names) {
    read(pid, names);
}

QString ProcessInfo::stateText(int8_t state) {
    if (state < 0 || state > 5) {
        return QString::fromLatin1(kStateTexts[0]);
    }
    return QString::fromLatin1(kStateTexts[state]);
}

QString ProcessInfo::commandName(const std::string& comm) {
    if (comm.compare(0, sizeof kTruncatedMusicPlayer - 1, kTruncatedMusicPlayer) == 0) {
        return QStringLiteral("MobileMusicPlayer");
    }
    return NameText::fromBytes(comm);
}

void ProcessInfo::read(int32_t pid, AccountNames& names) {
    int mib[4] = {darwin::CTL_KERN, darwin::KERN_PROC, darwin::KERN_PROC_PID, pid};
    std::array<unsigned char, darwin::kinfo_proc::Layout::kSize> record{};
    size_t size = record.size();
    if (darwin::sysctl(mib, 4, record.data(), &size, nullptr, 0) == -1 || size != record.size()) {
        return; // gone or unreadable: every property stays empty
    }
    const darwin::KinfoProc proc = darwin::kinfo_proc::Layout::decode(record.data());
    name_ = commandName(proc.comm);
    uid_ = proc.uid;
    gid_ = proc.gid0;
    pid_ = proc.pid;
    ppid_ = proc.ppid;
    pgid_ = proc.pgid;
    flag_ = proc.flag;
    stat_ = stateText(proc.stat);
    priority_ = proc.priority;
    usrpri_ = proc.usrpri;
    nice_ = proc.nice;
    tdev_ = proc.tdev;
    xsize_ = proc.xsize;
    xrssize_ = proc.xrssize;
    starttime_ = QDateTime::fromSecsSinceEpoch(proc.starttime.sec, Qt::UTC);
    user_ = names.userName(uid_);
    group_ = names.groupName(gid_);
}

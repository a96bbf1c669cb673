#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

class AccountNames;

// One process as the kernel's process record describes it, read once and immutable.
// A record whose process could not be read has every property empty (null texts,
// zero numbers, an invalid date).
class ProcessInfo {
public:
    ProcessInfo() = default;
    // Reads the process `pid` from the kernel (initWithPID:).
    explicit ProcessInfo(int32_t pid);
    // The same, with user and group names taken from a snapshot's shared lookups.
    ProcessInfo(int32_t pid, AccountNames& names);

    const QString& name() const { return name_; }
    const QString& user() const { return user_; }
    const QString& group() const { return group_; }
    uint32_t uid() const { return uid_; }
    uint32_t gid() const { return gid_; }
    int32_t pid() const { return pid_; }
    int32_t ppid() const { return ppid_; }
    int32_t pgid() const { return pgid_; }
    int32_t flag() const { return flag_; }
    // "idle", "run", "sleep", "stop", "zombie", or "??????" for any other state.
    const QString& stat() const { return stat_; }
    uint8_t priority() const { return priority_; }
    uint8_t usrpri() const { return usrpri_; }
    int8_t nice() const { return nice_; }
    int32_t tdev() const { return tdev_; }
    int32_t xsize() const { return xsize_; }
    int16_t xrssize() const { return xrssize_; }
    // Whole seconds; UTC.
    const QDateTime& starttime() const { return starttime_; }
    bool isZombie() const { return stat_ == QLatin1String("zombie"); }

    // The word for a kernel state byte.
    static QString stateText(int8_t state);
    // The command name of a p_comm field: the one the device truncates is made whole,
    // the rest as NameText shows names.
    static QString commandName(const std::string& comm);

private:
    void read(int32_t pid, AccountNames& names);

    QString name_;
    QString user_;
    QString group_;
    uint32_t uid_ = 0;
    uint32_t gid_ = 0;
    int32_t pid_ = 0;
    int32_t ppid_ = 0;
    int32_t pgid_ = 0;
    int32_t flag_ = 0;
    QString stat_;
    uint8_t priority_ = 0;
    uint8_t usrpri_ = 0;
    int8_t nice_ = 0;
    int32_t tdev_ = 0;
    int32_t xsize_ = 0;
    int16_t xrssize_ = 0;
    QDateTime starttime_;
};

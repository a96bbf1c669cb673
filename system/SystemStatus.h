#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <ctime>

// One logged-in user, as the login accounting file records the session.
struct LoginRecord {
    QString user;        // at most 256 characters
    QString line;        // terminal line without "/dev/", at most 32 characters
    QString host;        // remote host, "-" for a local login
    QString idle;        // time since the terminal was last used
    QDateTime loginTime; // UTC
};

// The values of the System tab that change while the device runs: the time since
// boot, the three load averages and the logged-in users. One instance per process;
// each snapshot operation replaces only its own value.
class SystemStatus {
public:
    static SystemStatus* sharedInstance();

    SystemStatus(const SystemStatus&) = delete;
    SystemStatus& operator=(const SystemStatus&) = delete;

    void snapshotOfUptime();
    void snapshotOfLoadAvg();
    void snapshotOfWho();

    // Empty until the boot time was once read.
    const QString& uptime() const { return uptime_; }
    // 0 = 1 minute, 1 = 5 minutes, 2 = 15 minutes; 0.0 for any other index.
    double loadavg(unsigned index) const;
    const QList<LoginRecord>& who() const { return who_; }

    // "1 day, 1 hour, 30 secs", " 1:01:31": the running time in the form `uptime` shows.
    static QString stringWithUptime(long long seconds);
    // "00:05:07" up to a day, then whole days ("1days").
    static QString stringWithIdleTime(long long seconds);

private:
    friend struct SystemStatusTestAccess;
    SystemStatus();

    QList<LoginRecord> who_;
    QString uptime_;
    double vm_loadavg[3] = {0.0, 0.0, 0.0};
};

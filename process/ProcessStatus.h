#pragma once

#include "process/ProcessInfo.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstddef>
#include <memory>

// The Process tab's model: the kernel's process table as one record per process, in
// the reverse of the kernel's order. One instance per process; its records are shared
// with the screens that keep one.
class ProcessStatus {
public:
    using Record = std::shared_ptr<const ProcessInfo>;

    static ProcessStatus* sharedInstance();

    ProcessStatus(const ProcessStatus&) = delete;
    ProcessStatus& operator=(const ProcessStatus&) = delete;

    // Replaces the records with the current process table; empty when the table
    // cannot be read.
    void snapshot();
    void removeAllData();
    const QList<Record>& info() const { return info_; }

    // The time between `date` and now, in either direction ("1 day, 01:01:31").
    static QString stringWithUptime(const QDateTime& date);
    // The resident memory of a process in megabytes with one fraction digit, in the
    // shared formatter's locale ("1,234.5 MB"), or "? MB" when it cannot be read.
    static QString stringWithOccupiedMemoryForPID(int32_t pid);
    // Frees the buffer of the last process-table dump.
    static void finalize();
    // Bytes held by that buffer (0 after finalize).
    static size_t tableBufferSize();

private:
    friend struct ProcessStatusTestAccess;
    ProcessStatus() = default;

    QList<Record> info_;
};

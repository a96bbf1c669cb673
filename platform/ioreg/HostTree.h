#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace ioreg {

// The host's files under a root directory ("/" in the application, a fake tree in
// tests). Only regular files are read, and at most 64 KiB of each: sysfs attributes
// and device-tree properties are small, and nothing here may wait on a pipe.
class HostTree {
public:
    explicit HostTree(QString root);

    const QString& root() const { return root_; }
    QString path(const QString& relative) const;
    bool exists(const QString& relative) const;

    // The bytes of a file, as they are; none when it cannot be read.
    std::optional<QByteArray> bytes(const QString& relative) const;
    // The text of a file without surrounding white space and trailing NULs; none when
    // unreadable or empty.
    std::optional<QString> text(const QString& relative) const;
    // A decimal integer file (std::from_chars, no locale).
    std::optional<int64_t> number(const QString& relative) const;
    // The names in a directory, sorted; symbolic links included.
    QStringList entries(const QString& relative) const;

private:
    QString root_;
};

} // namespace ioreg

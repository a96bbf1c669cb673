#include "platform/ioreg/HostTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <charconv>

namespace ioreg {

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024;

} // namespace

HostTree::HostTree(QString root) : root_(std::move(root)) {
    while (root_.endsWith(QLatin1Char('/'))) {
        root_.chop(1);
    }
}

QString HostTree::path(const QString& relative) const {
    return root_ + QLatin1Char('/') + relative;
}

bool HostTree::exists(const QString& relative) const {
    return QFileInfo::exists(path(relative));
}

std::optional<QByteArray> HostTree::bytes(const QString& relative) const {
    const QString file = path(relative);
    if (!QFileInfo(file).isFile()) {
        return std::nullopt;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return std::nullopt;
    }
    // sysfs files report a size of 4096 whatever they hold: read until the end.
    QByteArray content;
    while (content.size() < kMaxFileBytes) {
        const QByteArray chunk = input.read(kMaxFileBytes - content.size());
        if (chunk.isEmpty()) {
            break;
        }
        content += chunk;
    }
    if (input.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return content;
}

std::optional<QString> HostTree::text(const QString& relative) const {
    auto content = bytes(relative);
    if (!content) {
        return std::nullopt;
    }
    while (content->endsWith('\0')) {
        content->chop(1);
    }
    const QString trimmed = QString::fromUtf8(*content).trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    return trimmed;
}

std::optional<int64_t> HostTree::number(const QString& relative) const {
    const auto content = text(relative);
    if (!content) {
        return std::nullopt;
    }
    const QByteArray digits = content->toLatin1();
    int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

QStringList HostTree::entries(const QString& relative) const {
    return QDir(path(relative))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

} // namespace ioreg

#include "registry/DelegatedFile.h"

#include "registry/CountryRows.h"

#include <QList>

#include <algorithm>
#include <cctype>

#include <charconv>

namespace {

constexpr uint32_t LAST_END = 0xffffffffu; // 2^32 does not fit a 32-bit end
constexpr uint32_t ALLOCATED = 1, ASSIGNED = 2;

template <class T> std::optional<T> numberOf(QByteArrayView text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (status != std::errc() || stop != end || text.isEmpty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<uint32_t> addressOf(QByteArrayView text) {
    const QList<QByteArray> parts = text.toByteArray().split('.');
    if (parts.size() != 4) {
        return std::nullopt;
    }
    uint32_t address = 0;
    for (const QByteArray& part : parts) {
        const auto byte = numberOf<uint32_t>(part);
        if (!byte || *byte > 255) {
            return std::nullopt;
        }
        address = (address << 8) | *byte;
    }
    return address;
}

// Row of the engine's registry table; 0 for a name that is not one of the five.
uint32_t registryRowOf(QByteArrayView name) {
    static const char* const names[] = {"afrinic", "apnic", "arin", "lacnic", "ripencc"};
    const QByteArray lower = name.trimmed().toByteArray().toLower();
    for (uint32_t row = 1; row <= 5; ++row) {
        if (lower == names[row - 1]) {
            return row;
        }
    }
    return 0;
}

// Row of the engine's status table, 0 for the statuses that make no range; no value
// for a status the format does not have.
std::optional<uint32_t> statusRowOf(QByteArrayView status) {
    const QByteArray lower = status.trimmed().toByteArray().toLower();
    if (lower == "allocated") {
        return ALLOCATED;
    }
    if (lower == "assigned") {
        return ASSIGNED;
    }
    if (lower == "available" || lower == "reserved") {
        return 0;
    }
    return std::nullopt;
}

bool fail(QString* error, const QString& why) {
    if (error != nullptr) {
        *error = why;
    }
    return false;
}

} // namespace

uint32_t DelegatedFile::dateOf(QByteArrayView text) {
    text = text.trimmed();
    const auto date = text.size() == 8 ? numberOf<uint32_t>(text) : std::nullopt;
    if (!date) {
        return 0;
    }
    const uint32_t month = *date / 100 % 100, day = *date % 100;
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 ? *date : 0;
}

std::optional<DelegatedFile> DelegatedFile::read(const QByteArray& contents, QString* error) {
    DelegatedFile file;
    bool versionSeen = false;
    int lineNumber = 0;
    for (const QByteArray& rawLine : contents.split('\n')) {
        ++lineNumber;
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const QList<QByteArray> fields = line.split('|');
        const bool ok =
            versionSeen ? file.readRecord(fields, error) : file.readVersion(fields, error);
        if (!ok) {
            if (error != nullptr && versionSeen) {
                *error = QStringLiteral("line %1 %2: \"%3\"")
                             .arg(lineNumber)
                             .arg(*error, QString::fromUtf8(line.left(80)));
            }
            return std::nullopt;
        }
        versionSeen = true;
    }
    if (!versionSeen) {
        fail(error, QStringLiteral("no version line"));
        return std::nullopt;
    }
    if (file.records_ != file.announcedRecords_) {
        fail(error, QStringLiteral("%1 records where the version line announces %2 (cut short?)")
                        .arg(file.records_)
                        .arg(file.announcedRecords_));
        return std::nullopt;
    }
    if (file.ipv4Lines_ == 0) {
        fail(error, QStringLiteral("no ipv4 records"));
        return std::nullopt;
    }
    return file;
}

// version|registry|serial|records|startdate|enddate|UTCoffset
bool DelegatedFile::readVersion(const QList<QByteArray>& fields, QString* error) {
    const auto records = fields.size() >= 6 ? numberOf<int64_t>(fields[3]) : std::nullopt;
    if (fields[0].isEmpty() || !std::isdigit(static_cast<unsigned char>(fields[0][0])) ||
        !records) {
        return fail(error, QStringLiteral("no version line"));
    }
    registry_ = registryRowOf(fields[1]);
    if (registry_ == 0) {
        return fail(
            error,
            QStringLiteral("unknown registry \"%1\"").arg(QString::fromUtf8(fields[1].left(40))));
    }
    announcedRecords_ = *records;
    date_ = dateOf(fields[2]) != 0 ? dateOf(fields[2]) : dateOf(fields[5]);
    return true;
}

// registry|cc|type|start|value|date|status[|opaque-id[|extensions]], or the summary
// registry|*|type|*|count|summary
bool DelegatedFile::readRecord(const QList<QByteArray>& fields, QString* error) {
    if (fields.size() >= 6 && fields[5] == "summary") {
        const auto count = numberOf<int32_t>(fields[4]);
        if (!count) {
            return fail(error, QStringLiteral("has no summary count"));
        }
        if (fields[2] == "ipv4") {
            summaryCount_ = *count;
        }
        return true;
    }
    if (fields.size() < 7) {
        return fail(error, QStringLiteral("has %1 fields, a record 7 or more").arg(fields.size()));
    }
    const uint32_t registry = registryRowOf(fields[0]);
    if (registry == 0) {
        return fail(error, QStringLiteral("names an unknown registry"));
    }
    ++records_;
    if (fields[2] == "ipv4") {
        return readIpv4(fields, registry, error);
    }
    if (fields[2] != "asn" && fields[2] != "ipv6") {
        return fail(error, QStringLiteral("has an unknown type"));
    }
    return true;
}

bool DelegatedFile::readIpv4(const QList<QByteArray>& fields, uint32_t registry, QString* error) {
    ++ipv4Lines_;
    const auto first = addressOf(fields[3]);
    const auto count = numberOf<uint64_t>(fields[4]);
    const auto status = statusRowOf(fields[6]);
    if (!first || !count || *count == 0) {
        return fail(error, QStringLiteral("has no address range"));
    }
    if (!status) {
        return fail(error, QStringLiteral("has an unknown status"));
    }
    if (*status == 0) {
        return true;
    }
    const uint64_t end = std::min<uint64_t>(*first + *count, LAST_END);
    if (end > *first) {
        ranges_.push_back({*first, static_cast<uint32_t>(end), CountryRows::rowOf(fields[1]),
                           registry, dateOf(fields[5]), *status});
    }
    return true;
}

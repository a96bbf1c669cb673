#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// One regional registry's statistics exchange file ("delegated-<rir>[-extended]-<date>",
// NRO format), read for the registry file: its version line, its ipv4 count and the
// allocated and assigned ipv4 ranges in file order.
class DelegatedFile {
public:
    struct Range {
        uint32_t first = 0;
        uint32_t end = 0; // exclusive
        uint32_t country = 0;
        uint32_t registry = 0;
        uint32_t date = 0;
        uint32_t status = 0;
    };

    // The file read from `contents`, or no value with `error` saying why it is not a
    // statistics exchange file (no version line, a line that does not parse, fewer or
    // more records than the version line announces, no ipv4 records, an unknown registry).
    static std::optional<DelegatedFile> read(const QByteArray& contents, QString* error);

    // yyyymmdd of the text, or 0 for text that is not such a date ("00000000", "").
    static uint32_t dateOf(QByteArrayView text);

    uint32_t registry() const { return registry_; }
    // The version line's serial when that is a date, else its end date (RIPE NCC numbers
    // its files instead).
    uint32_t date() const { return date_; }
    // The ipv4 summary line's count, or the ipv4 lines when there is none.
    int32_t ipv4Count() const { return summaryCount_.value_or(ipv4Lines_); }
    const std::vector<Range>& ranges() const { return ranges_; }

private:
    bool readVersion(const QList<QByteArray>& fields, QString* error);
    bool readRecord(const QList<QByteArray>& fields, QString* error);
    bool readIpv4(const QList<QByteArray>& fields, uint32_t registry, QString* error);

    uint32_t registry_ = 0;
    uint32_t date_ = 0;
    int64_t announcedRecords_ = 0;
    int64_t records_ = 0;
    std::optional<int32_t> summaryCount_;
    int32_t ipv4Lines_ = 0;
    std::vector<Range> ranges_;
};

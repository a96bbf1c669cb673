#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

struct tl_answer;

// The six display texts of a registry answer, index for index with TarnelDB's labels:
// country code, country name, registry name, registry region, network, assignment
// date. The one place they are made, for the Registry screen's search and for the
// streaming lookup alike. The table rows' names are localized once, at construction.
class RegistryTexts {
public:
    RegistryTexts();

    // The six texts of an answer with its network text (null when no prefix length
    // covers the range), or an empty list when the answer lacks its country or
    // registry row or names a special-purpose block.
    QStringList of(const tl_answer& answer, const char* network) const;

    // The day a stored date names: eight digits yyyymmdd of a calendar day; none for 0
    // or any other number.
    static std::optional<QDate> dayOf(uint32_t yyyymmdd);

private:
    QString dateText(const tl_answer& answer) const;

    QStringList countryNames_;
    QStringList regionNames_;
    QString unknownDate_;
};

#include "registry/RegistryTexts.h"

#include "common/Resources.h"
#include "registry/tarnel.h"

#include <QDate>

#include <cstdio>

namespace {

QString dottedQuad(uint32_t address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xffu)
        .arg((address >> 8) & 0xffu)
        .arg(address & 0xffu);
}

// The network as the engine names it (a.b.c.d/len), or, for a range no prefix
// length covers, its first and last address.
QString networkText(const char* network, const tl_answer& answer) {
    if (network != nullptr) {
        return QString::fromLatin1(network);
    }
    return dottedQuad(answer.first) + QStringLiteral(" - ") + dottedQuad(answer.end - 1);
}

bool isSpecialPurpose(const tl_tld_entry* country) {
    return qstrncmp(country->code, "SIP", 3) == 0;
}

} // namespace

RegistryTexts::RegistryTexts() : unknownDate_(Resources::text(QStringLiteral("Unknown"))) {
    for (const tl_tld_entry& row : tldTable) {
        countryNames_.append(Resources::text(QString::fromUtf8(row.name)));
    }
    for (const tl_rir_entry& row : rirTable) {
        regionNames_.append(Resources::text(QString::fromLatin1(row.region)));
    }
}

QStringList RegistryTexts::of(const tl_answer& answer, const char* network) const {
    if (answer.country == nullptr || answer.registry == nullptr ||
        isSpecialPurpose(answer.country)) {
        return {};
    }
    return {QString::fromLatin1(answer.country->code),
            countryNames_[static_cast<int>(answer.country - tldTable)],
            QString::fromLatin1(answer.registry->name),
            regionNames_[static_cast<int>(answer.registry - rirTable)],
            networkText(network, answer),
            dateText(answer)};
}

std::optional<QDate> RegistryTexts::dayOf(uint32_t yyyymmdd) {
    const int year = static_cast<int>(yyyymmdd / 10000);
    const int month = static_cast<int>(yyyymmdd / 100 % 100);
    const int day = static_cast<int>(yyyymmdd % 100);
    if (yyyymmdd < 10000101 || yyyymmdd > 99991231 || !QDate::isValid(year, month, day)) {
        return std::nullopt;
    }
    return QDate(year, month, day);
}

// "2005-03-15 (allocated)"; a number that is no date shows as it stands.
QString RegistryTexts::dateText(const tl_answer& answer) const {
    if (answer.date == 0) {
        return unknownDate_;
    }
    char shown[16];
    if (const std::optional<QDate> day = dayOf(answer.date)) {
        std::snprintf(shown, sizeof shown, "%04d-%02d-%02d", day->year(), day->month(), day->day());
    } else {
        std::snprintf(shown, sizeof shown, "%u", answer.date);
    }
    if (answer.status == nullptr) {
        return QString::fromLatin1(shown);
    }
    return QStringLiteral("%1 (%2)").arg(QLatin1String(shown), QLatin1String(answer.status));
}

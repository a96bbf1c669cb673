#include "registry/TarnelDB.h"

#include "common/Resources.h"
#include "registry/tarnel.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const char* const labelKeys[] = {"CountryCode",   "CountryName",  "RegistryName",
                                 "CountryRegion", "NetworkRange", "AssignedDate"};

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

// "2005-03-15 (allocated)"; a number that is no date shows as it stands.
QString dateText(const tl_answer& answer) {
    if (answer.date == 0) {
        return Resources::text(QStringLiteral("Unknown"));
    }
    const int year = static_cast<int>(answer.date / 10000);
    const int month = static_cast<int>(answer.date / 100 % 100);
    const int day = static_cast<int>(answer.date % 100);
    char shown[16];
    // Eight digits, as the "yyyyMMdd" form has them, naming a day of the calendar.
    if (answer.date >= 10000101 && answer.date <= 99991231 && QDate::isValid(year, month, day)) {
        std::snprintf(shown, sizeof shown, "%04d-%02d-%02d", year, month, day);
    } else {
        std::snprintf(shown, sizeof shown, "%u", answer.date);
    }
    if (answer.status == nullptr) {
        return QString::fromLatin1(shown);
    }
    return QStringLiteral("%1 (%2)").arg(QLatin1String(shown), QLatin1String(answer.status));
}

bool isSpecialPurpose(const tl_tld_entry* country) {
    return qstrncmp(country->code, "SIP", 3) == 0;
}

} // namespace

TarnelDB* TarnelDB::sharedInstance() {
    static TarnelDB* instance = new TarnelDB();
    return instance;
}

TarnelDB::TarnelDB() {
    for (const char* key : labelKeys) {
        tldLabel_.append(Resources::text(QString::fromLatin1(key)));
    }
    for (const tl_tld_entry& row : tldTable) {
        countryNames_.append(Resources::text(QString::fromUtf8(row.name)));
    }
    for (const tl_rir_entry& row : rirTable) {
        regionNames_.append(Resources::text(QString::fromLatin1(row.region)));
    }
    open();
}

void TarnelDB::open() {
    const QString downloaded =
        QDir(Resources::documentsPath()).filePath(QString::fromLatin1(fileName));
    const QString shipped = QDir(Resources::resourcePath()).filePath(QString::fromLatin1(fileName));
    // A downloaded copy that cannot be opened (cut short, say) does not leave the
    // user without data: the shipped copy is opened instead.
    for (const QString& path : {downloaded, shipped}) {
        if (QFileInfo::exists(path) && tl_init(QFile::encodeName(path).constData()) == 0) {
            openPath_ = path;
            ready_ = true;
            return;
        }
    }
}

void TarnelDB::close() {
    if (ready_) {
        tl_finish();
        ready_ = false;
        openPath_.clear();
    }
}

void TarnelDB::updated() {
    close();
    open();
}

QString TarnelDB::openPath() const {
    return openPath_;
}

QStringList TarnelDB::search(const QString& address) const {
    const QByteArray text = address.toUtf8();
    if (tl_validate(text.constData()) != 0) {
        return {};
    }
    tl_answer answer{};
    char* network = nullptr;
    const int found = tl_lookup(text.constData(), &answer, &network);
    const std::unique_ptr<char, decltype(&std::free)> owned(network, &std::free);
    if (found != 0 || isSpecialPurpose(answer.country)) {
        return {};
    }
    return {QString::fromLatin1(answer.country->code),
            countryNames_[static_cast<int>(answer.country - tldTable)],
            QString::fromLatin1(answer.registry->name),
            regionNames_[static_cast<int>(answer.registry - rirTable)],
            networkText(network, answer),
            dateText(answer)};
}

QString TarnelDB::flagImageName(const QString& code) {
    return QStringLiteral("flags/%1.png").arg(code.toLower());
}

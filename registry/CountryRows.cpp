#include "registry/CountryRows.h"

#include "registry/tarnel.h"

#include <QByteArray>
#include <QHash>

namespace {

constexpr uint32_t FIRST_COUNTRY_ROW = 31;

// Codes issued after the table was fixed, and the code the table holds for the same
// territory's predecessor.
constexpr struct {
    const char* code;
    const char* predecessor;
} NEWER_CODES[] = {
    {"BQ", "AN"}, // Bonaire, Sint Eustatius and Saba: part of the Netherlands Antilles
    {"CW", "AN"}, // Curacao: Netherlands Antilles
    {"SX", "AN"}, // Sint Maarten: Netherlands Antilles
    {"BL", "GP"}, // Saint Barthelemy: part of Guadeloupe until 2007
    {"MF", "GP"}, // Saint Martin (French part): part of Guadeloupe until 2007
    {"SS", "SD"}, // South Sudan: part of Sudan until 2011
    {"XK", "RS"}, // Kosovo (user-assigned code): administered by Serbia before 2008
};

QHash<QByteArray, uint32_t> makeRows() {
    QHash<QByteArray, uint32_t> rows;
    for (uint32_t row = FIRST_COUNTRY_ROW; row < TL_TLD_ROWS; ++row) {
        rows.insert(QByteArray(tldTable[row].code), row);
    }
    for (const auto& newer : NEWER_CODES) {
        rows.insert(QByteArray(newer.code), rows.value(QByteArray(newer.predecessor)));
    }
    return rows;
}

} // namespace

uint32_t CountryRows::rowOf(QByteArrayView code) {
    static const QHash<QByteArray, uint32_t> rows = makeRows();
    return rows.value(code.trimmed().toByteArray().toUpper(), 0);
}

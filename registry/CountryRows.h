#pragma once

#include <QByteArrayView>

#include <cstdint>

// The country row of the engine's table for a record's two-letter code. Codes issued
// after the table was fixed map to their territory's predecessor (CW to AN, SS to SD);
// "ZZ", an empty code and any other code missing from the table give row 0 ("??").
class CountryRows {
public:
    static uint32_t rowOf(QByteArrayView code);
};

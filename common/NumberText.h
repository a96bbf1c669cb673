#pragma once

#include <QString>

#include <cstdint>

class AppState;

// Numbers as the screens show them: through the application's shared number formatter,
// or a decimal formatter of the same style while no application has launched (a screen
// built on its own). One rule for every screen: the locale's grouping, decimal
// separator and digits.

// A count ("1,234").
QString numberText(const AppState* appCon, int64_t number);
QString numberText(const AppState* appCon, uint64_t number);
// A measure: whole values as counts, others with up to three fraction digits.
QString numberText(const AppState* appCon, double number);
// A measure with exactly `fractionDigits` fraction digits (load averages "0.52", "0,52"
// in German).
QString numberText(const AppState* appCon, double number, int fractionDigits);

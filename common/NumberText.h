#pragma once

#include <QString>

#include <cstdint>

class AppState;

// A count as the screens show it: through the application's shared number formatter,
// or a decimal formatter of the same style while no application has launched (a screen
// built on its own).
QString numberText(const AppState* appCon, int64_t number);
QString numberText(const AppState* appCon, uint64_t number);

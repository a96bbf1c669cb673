#pragma once

#include <QString>

#include <cstdint>

class AppController;

// A count as the memory and disk screens show it: through the application's shared
// number formatter, or a decimal formatter of the same style while no application has
// launched (a screen built on its own).
QString numberText(const AppController* appCon, int64_t number);
QString numberText(const AppController* appCon, uint64_t number);

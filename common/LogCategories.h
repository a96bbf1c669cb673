#pragma once

#include <QLoggingCategory>

// One logging category a subsystem. Warnings are on and debug messages off unless
// QT_LOGGING_RULES says otherwise ("ormel.process.debug=true"). A failed kernel read is
// a warning of its subsystem: the window keeps running and says so on stderr or in the
// journal, and the headless dumps turn such warnings into their exit status.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcSystem)
Q_DECLARE_LOGGING_CATEGORY(lcProcess)
Q_DECLARE_LOGGING_CATEGORY(lcMemDisk)
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)
Q_DECLARE_LOGGING_CATEGORY(lcRegistry)
Q_DECLARE_LOGGING_CATEGORY(lcHistory)

// The prefix every category above shares.
inline constexpr const char* kOrmelLogPrefix = "ormel.";

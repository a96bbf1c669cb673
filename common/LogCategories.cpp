#include "common/LogCategories.h"

Q_LOGGING_CATEGORY(lcApp, "ormel.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSystem, "ormel.system", QtWarningMsg)
Q_LOGGING_CATEGORY(lcProcess, "ormel.process", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMemDisk, "ormel.memdisk", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNetwork, "ormel.network", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRegistry, "ormel.registry", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHistory, "ormel.history", QtWarningMsg)

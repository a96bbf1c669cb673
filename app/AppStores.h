#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The shared stores the application controller works with: the lookup history, the
// address registry, the routing snapshot, the port-name database and the process
// table's kernel buffer. Each entry is the store's operation; an empty entry stands
// for a store this build does not have, which the controller then simply skips.
struct AppStores {
    // Lookup history.
    std::function<bool()> historyIsReady;
    std::function<bool()> historyBegin;
    std::function<bool(const QStringList& row)> historyInsert;
    std::function<bool()> historyCommit;
    std::function<void()> historyClose;
    // Address registry: the six registry texts of an address, empty when it has none.
    std::function<QStringList(const QString& address)> registrySearch;
    std::function<void()> registryClose;
    // A fresh routing snapshot's destinations, in table order (a copy of its own).
    std::function<QStringList()> routingDestinations;
    // Port names.
    std::function<void()> servicesClose;
    // Releases the process snapshot's kernel buffer.
    std::function<void()> processFinalize;

    // The stores of this build.
    static AppStores shared();
};

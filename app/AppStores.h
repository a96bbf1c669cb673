#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The shared stores the application controller works with: the lookup history, the
// address registry, the routing snapshot, the port-name database and the process
// table's kernel buffer, each as the operations the controller calls. A store this
// build does not have yet is left empty, and the controller does without it.
struct AppStores {
    // The lookup history the gathering pass writes into.
    struct History {
        std::function<bool()> isReady;
        std::function<bool()> begin;
        std::function<bool(const QStringList& row)> insert;
        std::function<bool()> commit;
        std::function<void()> close;
    };
    std::optional<History> history;
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

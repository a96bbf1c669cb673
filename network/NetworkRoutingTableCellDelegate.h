#pragma once

#include <QString>

class NetworkRoutingTableCell;

// Hears the flag taps of the routing list's rows.
class NetworkRoutingTableCellDelegate {
public:
    // The flag of a destination the registry knows was tapped.
    virtual void networkRoutingTableCellDestination(NetworkRoutingTableCell* /*cell*/,
                                                    const QString& /*destination*/) {}

protected:
    ~NetworkRoutingTableCellDelegate() = default;
};

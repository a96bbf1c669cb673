#include "registry/DestinationRows.h"

#include "common/Resources.h"
#include "registry/TarnelDB.h"

QString DestinationRows::title(int row) {
    switch (row) {
    case 0:
        return Resources::text("IPAddress");
    case kHostnameRow:
        return Resources::text("Hostname");
    default:
        return TarnelDB::sharedInstance()->TLDLabel().value(row - kFirstRegistryRow);
    }
}

QString DestinationRows::value(int row, const QString& address, const QString& hostname,
                               const QStringList& registryResult) {
    switch (row) {
    case 0:
        return address;
    case kHostnameRow:
        return hostname;
    default:
        return registryResult.value(row - kFirstRegistryRow);
    }
}

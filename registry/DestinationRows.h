#pragma once

#include <QString>
#include <QStringList>

// The rows the lookup popup and the destination screen show of one address: the
// address, its host name, then the registry's six texts under the registry's labels.
class DestinationRows {
public:
    static constexpr int kCount = 8;
    static constexpr int kHostnameRow = 1;
    static constexpr int kFirstRegistryRow = 2;

    static QString title(int row);
    static QString value(int row, const QString& address, const QString& hostname,
                         const QStringList& registryResult);
};

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Builds the registry file ("ccTLD.dat") from the regional registries' statistics
// exchange files ("delegated-<rir>[-extended]-<date>" in the NRO format): the one
// converter behind the shipped file (tools/registry) and the in-app update.
class RegistryFileBuilder {
public:
    struct Source {
        QString name; // the file's name or URL: for messages, and its last part orders the files
        QByteArray contents; // the whole file
    };

    // The registry file's bytes, or no value with `error` naming the source at fault
    // and why ("delegated-arin-extended-latest: no version line"). A source that is not
    // a statistics exchange file (no version line, no ipv4 records, a record that does
    // not parse, a registry it does not name) fails the whole build.
    static std::optional<QByteArray> build(const std::vector<Source>& sources, QString* error);
};

#pragma once

#include <QString>

#include <string>

namespace services {

// The device object's own description of the machine, from the host's files under a
// root ("/" in the application, a fake tree in tests); docs/PLATFORM-LINUX.md
// ("Hardware and kernel") gives each source.
class DeviceIdentity {
public:
    explicit DeviceIdentity(QString root = defaultRoot());

    // The root a device made without one reads: "/" unless a test sets a fake tree.
    static QString defaultRoot();
    static void setDefaultRoot(const QString& root);

    // The name the user gave the machine: PRETTY_HOSTNAME of /etc/machine-info, else
    // the host name; empty when neither is readable.
    QString name() const;
    // What kind of device it is: "Laptop", "Desktop", "Tablet", "Convertible",
    // "Server", "Handset", "Watch", "Embedded", "Virtual Machine", "Container", else
    // "Computer".
    QString localizedModel() const;
    // The system's name and version from os-release: NAME ("Linux" when unset), and
    // VERSION_ID, else VERSION (empty when neither is set).
    QString systemName() const;
    QString systemVersion() const;
    // The distribution as os-release names it for people: PRETTY_NAME, else the name
    // and version above.
    QString prettyName() const;

private:
    std::string file(const char* path) const;
    QString chassisOfDmi() const;
    std::string osRelease() const;

    std::string root_;
};

} // namespace services

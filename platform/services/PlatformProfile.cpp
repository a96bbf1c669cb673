#include "platform/services/PlatformProfile.h"

#include "platform/services/RoutingTablePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <optional>

#include <unistd.h>

namespace services {

namespace {

// Phone, music, mail, messaging and web programs of Linux phones and desktops, by the
// command names their processes carry (cut to 15 characters, as the kernel does).
const QHash<QString, MainApplication>& linuxMainApplications() {
    static const QHash<QString, MainApplication> table = [] {
        QHash<QString, MainApplication> t;
        for (const char* name : {"gnome-calls", "calls", "plasmaphonedial", "linphone"}) {
            t.insert(name, MainApplication::Phone);
        }
        for (const char* name :
             {"rhythmbox", "lollypop", "elisa", "amberol", "gnome-music", "clementine",
              "strawberry", "audacious", "quodlibet", "deadbeef", "cmus", "spotify"}) {
            t.insert(name, MainApplication::MusicPlayer);
        }
        for (const char* name : {"thunderbird", "thunderbird-bin", "evolution", "geary", "kmail",
                                 "claws-mail", "mutt", "neomutt", "aerc"}) {
            t.insert(name, MainApplication::Mail);
        }
        for (const char* name : {"chatty", "spacebar"}) {
            t.insert(name, MainApplication::SMS);
        }
        for (const char* name :
             {"firefox", "firefox-esr", "firefox-bin", "chromium", "chrome", "epiphany", "falkon",
              "konqueror", "angelfish", "qutebrowser", "librewolf", "midori"}) {
            t.insert(name, MainApplication::WebBrowser);
        }
        return t;
    }();
    return table;
}

// The device's own file system, then the Linux file systems that live on a local block
// device (a disk, a partition, a loop device or a FUSE file system over one).
const QSet<QString>& listedFileSystemTypes() {
    static const QSet<QString> types = {
        "hfs",      "ext2",    "ext3",     "ext4", "xfs",  "btrfs",   "f2fs",     "jfs",
        "reiserfs", "nilfs2",  "bcachefs", "zfs",  "vfat", "msdos",   "exfat",    "ntfs",
        "ntfs3",    "fuseblk", "hfsplus",  "apfs", "udf",  "iso9660", "squashfs", "erofs"};
    return types;
}

std::optional<uint32_t> uidFrom(const QByteArray& text) {
    bool ok = false;
    const uint32_t uid = text.trimmed().toUInt(&ok);
    return ok ? std::optional<uint32_t>(uid) : std::nullopt;
}

std::optional<uint32_t> activeSeatUid(const QString& seatFile) {
    QFile file(seatFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.startsWith("ACTIVE_UID=")) {
            return uidFrom(line.mid(11));
        }
    }
    return std::nullopt;
}

} // namespace

MainApplication PlatformProfile::mainApplicationOfCommand(const QString& command) {
    return linuxMainApplications().value(command, MainApplication::None);
}

uint32_t PlatformProfile::desktopSessionUid(uint32_t ownUid, const QByteArray& sudoUid,
                                            const QByteArray& pkexecUid, const QString& seatFile) {
    if (ownUid != 0) {
        return ownUid;
    }
    for (const QByteArray& caller : {sudoUid, pkexecUid}) {
        if (const auto uid = uidFrom(caller)) {
            return *uid;
        }
    }
    return activeSeatUid(seatFile).value_or(0);
}

bool PlatformProfile::isListedFileSystemType(const QString& fstypename) {
    return listedFileSystemTypes().contains(fstypename);
}

QString PlatformProfile::diskAreaKey(const QString& device, const QString& mountPoint) {
    if (device == QLatin1String("/dev/disk0s1")) {
        return QStringLiteral("SystemArea");
    }
    if (device == QLatin1String("/dev/disk0s2")) {
        return QStringLiteral("UserArea");
    }
    if (mountPoint == QLatin1String("/")) {
        return QStringLiteral("SystemArea");
    }
    if (mountPoint == QLatin1String("/home")) {
        return QStringLiteral("UserArea");
    }
    return {};
}

QString PlatformProfile::wirelessInterfaceName(const QString& root) {
    const QString classNet = root + QStringLiteral("/sys/class/net/");
    const QStringList interfaces = QDir(classNet).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString& name : interfaces) {
        if (QFileInfo::exists(classNet + name + QStringLiteral("/wireless")) ||
            QFileInfo::exists(classNet + name + QStringLiteral("/phy80211"))) {
            return name;
        }
    }
    return RoutingTablePath::ipv4DefaultInterface(root).value_or(QString());
}

QString PlatformProfile::wirelessInterfaceName() {
    return wirelessInterfaceName(QString());
}

QString PlatformProfile::batteryServiceClass(const std::optional<QString>& machineClass) {
    static const QRegularExpression deviceMachine(QStringLiteral("^(iPhone|iPod|iPad)\\d+,\\d+$"));
    if (machineClass && deviceMachine.match(*machineClass).hasMatch()) {
        return {};
    }
    return QString::fromLatin1(kLinuxBatteryServiceClass);
}

uint32_t PlatformProfile::desktopSessionUid() {
    static const uint32_t uid =
        desktopSessionUid(::getuid(), qgetenv("SUDO_UID"), qgetenv("PKEXEC_UID"),
                          QStringLiteral("/run/systemd/seats/seat0"));
    return uid;
}

} // namespace services

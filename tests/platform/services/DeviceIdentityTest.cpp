#include "platform/services/DeviceIdentity.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using services::DeviceIdentity;

void writeIdentityFile(const QString& root, const QString& path, const QByteArray& content) {
    const QString full = root + path;
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(DeviceIdentity, ALaptopAndAPhoneDescribeThemselves) {
    const DeviceIdentity laptop(testenv::fixturePath("linux-root-laptop"));
    EXPECT_EQ(laptop.name(), "Ada\"s ThinkPad") << "machine-info PRETTY_HOSTNAME, unquoted";
    EXPECT_EQ(laptop.localizedModel(), "Laptop") << "DMI chassis type 10";
    EXPECT_EQ(laptop.systemName(), "Debian GNU/Linux");
    EXPECT_EQ(laptop.systemVersion(), "12");
    EXPECT_EQ(laptop.prettyName(), "Debian GNU/Linux 12 (bookworm)");

    const DeviceIdentity phone(testenv::fixturePath("linux-root-phone"));
    EXPECT_EQ(phone.name(), "pinephone") << "no machine-info: the host name";
    EXPECT_EQ(phone.localizedModel(), "Handset") << "a device tree without chassis-type";
    EXPECT_EQ(phone.systemName(), "postmarketOS") << "/usr/lib/os-release";
    EXPECT_EQ(phone.systemVersion(), "v23.12");
}

TEST(DeviceIdentity, TheKindOfDeviceByItsSources) {
    const struct {
        QByteArray machineInfo;
        QByteArray chassisType;
        QByteArray deviceTreeChassis;
        QString model;
    } cases[] = {
        {"CHASSIS=tablet\n", "10\n", "", "Tablet"}, // the user's setting wins
        {"CHASSIS=vm\n", "", "", "Virtual Machine"},
        {"", "3\n", "", "Desktop"},
        {"", "31\n", "", "Tablet"},
        {"", "23\n", "", "Server"},
        {"", "2\n", "", "Computer"}, // "Unknown"
        {"", "", QByteArray("watch\0", 6), "Watch"},
        {"", "", "", "Computer"},
    };
    for (const auto& c : cases) {
        QTemporaryDir root;
        if (!c.machineInfo.isEmpty()) {
            writeIdentityFile(root.path(), "/etc/machine-info", c.machineInfo);
        }
        if (!c.chassisType.isEmpty()) {
            writeIdentityFile(root.path(), "/sys/class/dmi/id/chassis_type", c.chassisType);
        }
        if (!c.deviceTreeChassis.isEmpty()) {
            writeIdentityFile(root.path(), "/proc/device-tree/compatible", QByteArray("a,b\0", 4));
            writeIdentityFile(root.path(), "/proc/device-tree/chassis-type", c.deviceTreeChassis);
        }
        const DeviceIdentity identity(root.path());
        EXPECT_EQ(identity.localizedModel(), c.model)
            << c.machineInfo.constData() << c.chassisType.constData();
        EXPECT_EQ(identity.systemName(), "Linux") << "os-release's own default";
        EXPECT_EQ(identity.systemVersion(), "");
        EXPECT_EQ(identity.prettyName(), "Linux") << "no PRETTY_NAME: name and version";
        EXPECT_EQ(identity.name(), "");
    }
}

} // namespace

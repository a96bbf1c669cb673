#include "platform/ioreg/PlatformExpert.h"

#include <QStringList>

namespace ioreg {

namespace {

const QString kDeviceTreeBases[] = {QStringLiteral("proc/device-tree/"),
                                    QStringLiteral("sys/firmware/devicetree/base/")};
const QString kDmi = QStringLiteral("sys/class/dmi/id/");

// What firmware writers leave in fields they did not fill.
bool isPlaceholder(const QString& text) {
    static const QStringList placeholders{QStringLiteral("To Be Filled By O.E.M."),
                                          QStringLiteral("To be filled by O.E.M."),
                                          QStringLiteral("Default string"),
                                          QStringLiteral("System Product Name"),
                                          QStringLiteral("System Serial Number"),
                                          QStringLiteral("System Version"),
                                          QStringLiteral("Not Specified"),
                                          QStringLiteral("Not Applicable"),
                                          QStringLiteral("None"),
                                          QStringLiteral("0123456789"),
                                          QStringLiteral("Type1ProductConfigId"),
                                          QStringLiteral("SKU")};
    return placeholders.contains(text, Qt::CaseInsensitive);
}

QByteArray nulTerminated(const QString& text) {
    return text.toUtf8() + QByteArray(1, '\0');
}

} // namespace

std::optional<Service> PlatformExpert::read(const HostTree& host) {
    for (const QString& base : kDeviceTreeBases) {
        if (host.exists(base + QStringLiteral("compatible"))) {
            return fromDeviceTree(host, base);
        }
    }
    return fromDmi(host);
}

std::optional<Service> PlatformExpert::fromDeviceTree(const HostTree& host, const QString& base) {
    Service service{QString::fromLatin1(kClassName), {}};
    if (const auto compatible = host.bytes(base + QStringLiteral("compatible"))) {
        service.setProperty(QStringLiteral("compatible"), Value::data(*compatible));
    }
    if (const auto serial = host.text(base + QStringLiteral("serial-number"))) {
        service.setProperty(QStringLiteral("IOPlatformSerialNumber"), Value::string(*serial));
    }
    return service;
}

std::optional<Service> PlatformExpert::fromDmi(const HostTree& host) {
    const auto product = dmiField(host, QStringLiteral("product_name"));
    const auto serial = dmiField(host, QStringLiteral("product_serial"));
    auto model = dmiField(host, QStringLiteral("product_version"));
    if (!model) {
        model = dmiField(host, QStringLiteral("product_sku"));
    }
    if (!product && !serial && !model) {
        return std::nullopt;
    }
    Service service{QString::fromLatin1(kClassName), {}};
    if (product) {
        const QByteArray compatible =
            nulTerminated(dmiField(host, QStringLiteral("board_name")).value_or(QString())) +
            nulTerminated(*product) + nulTerminated(processorModel(host));
        service.setProperty(QStringLiteral("compatible"), Value::data(compatible));
    }
    if (model) {
        service.setProperty(QStringLiteral("model-number"), Value::data(nulTerminated(*model)));
    }
    if (serial) {
        service.setProperty(QStringLiteral("IOPlatformSerialNumber"), Value::string(*serial));
    }
    return service;
}

std::optional<QString> PlatformExpert::dmiField(const HostTree& host, const QString& name) {
    const auto text = host.text(kDmi + name);
    if (!text || isPlaceholder(*text)) {
        return std::nullopt;
    }
    return text;
}

// The "model name" of the first processor in /proc/cpuinfo; empty when there is none
// (ARM kernels do not write it).
QString PlatformExpert::processorModel(const HostTree& host) {
    const auto cpuinfo = host.text(QStringLiteral("proc/cpuinfo"));
    if (!cpuinfo) {
        return {};
    }
    for (const QStringView line : QStringView(*cpuinfo).split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).trimmed() == QLatin1String("model name")) {
            return line.mid(colon + 1).trimmed().toString();
        }
    }
    return {};
}

} // namespace ioreg

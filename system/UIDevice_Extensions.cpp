#include "system/UIDevice_Extensions.h"

#include "platform/ioreg/Registry.h"
#include "platform/services/PlatformProfile.h"

#include <QHash>
#include <QVariantList>
#include <QVariantMap>

namespace {

using ioreg::Value;

const char* const kPlatformExpert = "IOPlatformExpertDevice";
const char* const kFlashStorage = "IOFlashStorageDevice";
const char* const kWirelessInterface = "IO80211Interface";
const char* const kBacklight = "ApplePCF50635PMUBacklight";

// The bytes read as ASCII text and cut at every NUL; a NUL at the end leaves an empty
// last element.
QStringList splitAtNul(const QByteArray& bytes) {
    return QString::fromLatin1(bytes).split(QChar(u'\0'), Qt::KeepEmptyParts);
}

QVariant converted(const Value& value) {
    switch (value.type()) {
    case Value::Type::String:
        return value.toString();
    case Value::Type::Boolean:
        return value.toBool() ? QStringLiteral("YES") : QStringLiteral("NO");
    case Value::Type::Number:
        return QString::number(value.toNumber());
    case Value::Type::Data:
        return value.toData().isEmpty() ? QVariant() : QVariant(splitAtNul(value.toData()));
    case Value::Type::Array: {
        QVariantList elements;
        for (const Value& element : value.elements()) {
            elements.append(converted(element));
        }
        return elements;
    }
    case Value::Type::Dictionary: {
        QVariantMap entries;
        for (const auto& [key, entry] : value.entries()) {
            entries.insert(key, converted(entry));
        }
        return entries;
    }
    }
    return {};
}

// The element at index of a split value.
std::optional<QString> element(const std::optional<QVariant>& value, qsizetype index) {
    if (!value || value->typeId() != QMetaType::QStringList) {
        return std::nullopt;
    }
    const QStringList elements = value->toStringList();
    if (index >= elements.size()) {
        return std::nullopt;
    }
    return elements.at(index);
}

// A converted value as one text: a split value shows its texts separated by ", ", without
// the empty text a final NUL leaves.
std::optional<QString> text(const std::optional<QVariant>& value) {
    if (!value) {
        return std::nullopt;
    }
    if (value->typeId() == QMetaType::QString) {
        return value->toString();
    }
    if (value->typeId() == QMetaType::QStringList) {
        QStringList elements = value->toStringList();
        if (elements.size() > 1 && elements.constLast().isEmpty()) {
            elements.removeLast();
        }
        return elements.join(QStringLiteral(", "));
    }
    return std::nullopt;
}

// "%@" of a property: booleans as numbers ("1"/"0"), data as hexadecimal in angle
// brackets, 4 bytes a group.
QString formatted(const Value& value) {
    switch (value.type()) {
    case Value::Type::String:
        return value.toString();
    case Value::Type::Boolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case Value::Type::Number:
        return QString::number(value.toNumber());
    case Value::Type::Data: {
        QString hex;
        const QByteArray bytes = value.toData().toHex();
        for (qsizetype i = 0; i < bytes.size(); i += 8) {
            hex += (i > 0 ? QStringLiteral(" ") : QString()) + QString::fromLatin1(bytes.mid(i, 8));
        }
        return QLatin1Char('<') + hex + QLatin1Char('>');
    }
    case Value::Type::Array:
    case Value::Type::Dictionary:
        return text(converted(value)).value_or(QString());
    }
    return {};
}

// The platform's reading of a text as a truth value: a number other than 0, or a text
// that begins with "Y", "y", "T" or "t" (after leading white space).
bool boolValue(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return false;
    }
    if (QStringLiteral("YyTt").contains(trimmed.front())) {
        return true;
    }
    qsizetype i = (trimmed.front() == u'+' || trimmed.front() == u'-') ? 1 : 0;
    while (i < trimmed.size() && trimmed.at(i) == u'0') {
        ++i;
    }
    return i < trimmed.size() && trimmed.at(i) >= u'1' && trimmed.at(i) <= u'9';
}

} // namespace

std::optional<QString> UIDevice_Extensions::yesNo(const std::optional<QString>& text) {
    if (!text) {
        return std::nullopt;
    }
    return boolValue(*text) ? QStringLiteral("YES") : QStringLiteral("NO");
}

namespace {

// The device's power sources by machine class; other machines take the platform's.
QString batteryServiceClass() {
    static const QHash<QString, QString> kPowerSources{
        {QStringLiteral("iPhone2,1"), QStringLiteral("AppleD1755PMUPowerSource")},
        {QStringLiteral("iPod3,1"), QStringLiteral("AppleD1755PMUPowerSource")},
        {QStringLiteral("iPod2,1"), QStringLiteral("AppleD1759PMUPowerSource")},
        {QStringLiteral("iPod2,2"), QStringLiteral("AppleD1759PMUPowerSource")},
        {QStringLiteral("iPhone1,1"), QStringLiteral("ApplePCF50635PMUPowerSource")},
        {QStringLiteral("iPhone1,2"), QStringLiteral("ApplePCF50635PMUPowerSource")},
        {QStringLiteral("iPod1,1"), QStringLiteral("ApplePCF50635PMUPowerSource")}};
    const std::optional<QString> machineClass = UIDevice_Extensions::platformName();
    if (machineClass && kPowerSources.contains(*machineClass)) {
        return kPowerSources.value(*machineClass);
    }
    return services::PlatformProfile::batteryServiceClass(machineClass);
}

} // namespace

std::optional<QVariant> UIDevice_Extensions::getValue(const char* serviceClass,
                                                      const QString& key) {
    const auto service = ioreg::Registry::matchingService(QString::fromLatin1(serviceClass));
    if (!service) {
        return std::nullopt;
    }
    const auto property = service->property(key);
    if (!property) {
        return std::nullopt;
    }
    QVariant value = converted(*property);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value;
}

std::optional<QStringList> UIDevice_Extensions::getPropValue(const QString& key) {
    const auto value = ioreg::Registry::searchProperty(
        QString::fromLatin1(ioreg::Registry::kDeviceTreePlane), key, true);
    if (!value || value->type() != Value::Type::Data || value->toData().isEmpty()) {
        return std::nullopt;
    }
    return splitAtNul(value->toData());
}

std::optional<QString> UIDevice_Extensions::platformCode() {
    return element(getValue(kPlatformExpert, QStringLiteral("compatible")), 0);
}

std::optional<QString> UIDevice_Extensions::platformName() {
    return element(getValue(kPlatformExpert, QStringLiteral("compatible")), 1);
}

std::optional<QString> UIDevice_Extensions::platformProcessor() {
    return element(getValue(kPlatformExpert, QStringLiteral("compatible")), 2);
}

std::optional<QString> UIDevice_Extensions::platformString() {
    const auto machineClass = platformName();
    if (!machineClass) {
        return std::nullopt;
    }
    return platformStringOf(*machineClass);
}

std::optional<QString> UIDevice_Extensions::modelNumber() {
    return element(getValue(kPlatformExpert, QStringLiteral("model-number")), 0);
}

std::optional<QString> UIDevice_Extensions::serialNumber() {
    return text(getValue(kPlatformExpert, QStringLiteral("IOPlatformSerialNumber")));
}

std::optional<QString> UIDevice_Extensions::deviceIMEI() {
    const auto imei = getPropValue(QStringLiteral("device-imei"));
    return imei ? std::optional(imei->constFirst()) : std::nullopt;
}

std::optional<QString> UIDevice_Extensions::backlightLevel() {
    const auto level = getPropValue(QStringLiteral("backlight-level"));
    return level ? std::optional(level->constFirst()) : std::nullopt;
}

std::optional<QVariant> UIDevice_Extensions::backlight() {
    return getValue(kBacklight, QStringLiteral("IODisplayParameters"));
}

std::optional<QString> UIDevice_Extensions::flashDeviceType() {
    return element(getValue(kFlashStorage, QStringLiteral("device_type")), 0);
}

std::optional<QString> UIDevice_Extensions::flashDeviceFormat() {
    return text(getValue(kFlashStorage, QStringLiteral("bbt-format")));
}

std::optional<QString> UIDevice_Extensions::flashDeviceDescription() {
    return text(getValue(kFlashStorage, QStringLiteral("device-description")));
}

std::optional<QString> UIDevice_Extensions::flashNumberOfBanks() {
    return text(getValue(kFlashStorage, QStringLiteral("#ce")));
}

std::optional<QString> UIDevice_Extensions::flashBankOfBlocks() {
    return text(getValue(kFlashStorage, QStringLiteral("#ce-blocks")));
}

std::optional<QString> UIDevice_Extensions::flashBlockPages() {
    return text(getValue(kFlashStorage, QStringLiteral("#block-pages")));
}

std::optional<QString> UIDevice_Extensions::flashPageSectors() {
    return text(getValue(kFlashStorage, QStringLiteral("#page-sectors")));
}

std::optional<QString> UIDevice_Extensions::flashPageBytes() {
    return text(getValue(kFlashStorage, QStringLiteral("#page-bytes")));
}

std::optional<QString> UIDevice_Extensions::apple80211SSID() {
    return text(getValue(kWirelessInterface, QStringLiteral("IO80211SSID")));
}

std::optional<QString> UIDevice_Extensions::apple80211Channel() {
    return text(getValue(kWirelessInterface, QStringLiteral("IO80211Channel")));
}

std::optional<QString> UIDevice_Extensions::apple80211Band() {
    return text(getValue(kWirelessInterface, QStringLiteral("IO80211Band")));
}

std::optional<QString> UIDevice_Extensions::batteryInfoString(const QString& key) {
    const QString serviceClass = batteryServiceClass();
    if (serviceClass.isEmpty()) {
        return std::nullopt;
    }
    const auto service = ioreg::Registry::matchingService(serviceClass);
    if (!service) {
        return std::nullopt;
    }
    const auto value = service->property(key);
    return value ? formatted(*value) : QStringLiteral("(null)");
}

std::optional<QString> UIDevice_Extensions::batterySerialNumber() {
    return batteryInfoString(QStringLiteral("Serial"));
}

std::optional<QString> UIDevice_Extensions::batteryModel() {
    return batteryInfoString(QStringLiteral("Model"));
}

std::optional<QString> UIDevice_Extensions::batteryCurrentCapacity() {
    return batteryInfoString(QStringLiteral("CurrentCapacity"));
}

std::optional<QString> UIDevice_Extensions::batteryMaxCapacity() {
    return batteryInfoString(QStringLiteral("MaxCapacity"));
}

std::optional<QString> UIDevice_Extensions::batteryIsCharging() {
    return yesNo(batteryInfoString(QStringLiteral("IsCharging")));
}

std::optional<QString> UIDevice_Extensions::batteryFullyCharged() {
    return yesNo(batteryInfoString(QStringLiteral("FullyCharged")));
}

std::optional<QString> UIDevice_Extensions::batteryExternalConnected() {
    return yesNo(batteryInfoString(QStringLiteral("ExternalConnected")));
}

std::optional<QString> UIDevice_Extensions::batteryExternalChargeCapable() {
    return yesNo(batteryInfoString(QStringLiteral("ExternalChargeCapable")));
}

std::optional<QString> UIDevice_Extensions::batteryAtWarnLevel() {
    return yesNo(batteryInfoString(QStringLiteral("AtWarnLevel")));
}

std::optional<QString> UIDevice_Extensions::batteryAtCriticalLevel() {
    return yesNo(batteryInfoString(QStringLiteral("AtCriticalLevel")));
}

QString UIDevice_Extensions::platformStringOf(const QString& machineClass) {
    static const QHash<QString, QString> kMarketingNames{
        {QStringLiteral("iPhone1,1"), QStringLiteral("iPhone 1G")},
        {QStringLiteral("iPhone1,2"), QStringLiteral("iPhone 3G")},
        {QStringLiteral("iPhone2,1"), QStringLiteral("iPhone 3GS")},
        {QStringLiteral("iPhone3,1"), QStringLiteral("iPhone 4")},
        {QStringLiteral("iPod1,1"), QStringLiteral("iPod touch 1G")},
        {QStringLiteral("iPod2,1"), QStringLiteral("iPod touch 2G")},
        {QStringLiteral("iPod2,2"), QStringLiteral("iPod touch 2G+")},
        {QStringLiteral("iPod3,1"), QStringLiteral("iPod touch 3G")},
        {QStringLiteral("iPod4,1"), QStringLiteral("iPod touch 4G")},
        {QStringLiteral("iPad1,1"), QStringLiteral("iPad 1G (WiFi)")}};
    return kMarketingNames.value(machineClass, machineClass);
}

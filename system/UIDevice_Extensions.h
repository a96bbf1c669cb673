#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// What only the device registry (platform/ioreg) holds: the platform expert's board
// code, machine class and processor, serial and model numbers, the modem's IMEI, the
// flash storage, the wireless link and the battery. Every call reads the registry
// afresh; a value the machine does not have comes back as no value, and its row is
// left out.
class UIDevice_Extensions {
public:
    // One property of the first service of a class, converted as the registry's
    // values are shown: strings as they are, booleans "YES"/"NO", numbers their digits,
    // non-empty data split at NUL bytes into a list of texts, empty data none.
    static std::optional<QVariant> getValue(const char* serviceClass, const QString& key);
    // A property found anywhere in the device tree; only non-empty data, split.
    static std::optional<QStringList> getPropValue(const QString& key);

    static std::optional<QString> platformCode();
    static std::optional<QString> platformName();
    static std::optional<QString> platformProcessor();
    static std::optional<QString> platformString();
    static std::optional<QString> modelNumber();
    static std::optional<QString> serialNumber();
    static std::optional<QString> deviceIMEI();
    static std::optional<QString> backlightLevel();
    // The display parameters of the backlight: a dictionary (QVariantMap).
    static std::optional<QVariant> backlight();
    static std::optional<QString> flashDeviceType();
    static std::optional<QString> flashDeviceFormat();
    static std::optional<QString> flashDeviceDescription();
    static std::optional<QString> flashNumberOfBanks();
    static std::optional<QString> flashBankOfBlocks();
    static std::optional<QString> flashBlockPages();
    static std::optional<QString> flashPageSectors();
    static std::optional<QString> flashPageBytes();
    static std::optional<QString> apple80211SSID();
    static std::optional<QString> apple80211Channel();
    static std::optional<QString> apple80211Band();

    // The text of a battery property; "(null)" for a key the battery lacks; no value
    // without a battery.
    static std::optional<QString> batteryInfoString(const QString& key);
    static std::optional<QString> batterySerialNumber();
    static std::optional<QString> batteryModel();
    static std::optional<QString> batteryCurrentCapacity();
    static std::optional<QString> batteryMaxCapacity();
    static std::optional<QString> batteryIsCharging();        // "YES"/"NO"
    static std::optional<QString> batteryFullyCharged();      // "YES"/"NO"
    static std::optional<QString> batteryExternalConnected(); // "YES"/"NO"
    static std::optional<QString> batteryExternalChargeCapable();
    static std::optional<QString> batteryAtWarnLevel();
    static std::optional<QString> batteryAtCriticalLevel();

    // "YES" or "NO" for a battery text as the platform reads a truth value (a number
    // other than 0, or a text that begins with Y or T); none for none.
    static std::optional<QString> yesNo(const std::optional<QString>& text);

    // The marketing name of a machine class, or the class itself.
    static QString platformStringOf(const QString& machineClass);
};

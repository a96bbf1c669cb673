#pragma once

#include "platform/ioreg/ModemIdentity.h"

#include <QDBusArgument>

namespace ioreg {

// The IMEI of the first modem ModemManager manages: the "EquipmentIdentifier" of its
// org.freedesktop.ModemManager1.Modem interface, asked for over the system bus with
// one asynchronous GetManagedObjects call. No bus, no ModemManager or no modem: no IMEI.
class ModemManagerQuery {
public:
    static void fetch(ModemIdentity::Answer answer);

    // The identifier in a GetManagedObjects reply (a{oa{sa{sv}}}).
    static std::optional<QString> equipmentIdentifier(const QDBusArgument& managedObjects);
};

} // namespace ioreg

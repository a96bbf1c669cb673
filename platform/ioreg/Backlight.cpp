#include "platform/ioreg/Backlight.h"

namespace ioreg {

std::optional<Backlight> Backlight::read(const HostTree& host) {
    const QString base = QStringLiteral("sys/class/backlight/");
    for (const QString& name : host.entries(base)) {
        const auto level = host.number(base + name + QStringLiteral("/brightness"));
        const auto maximum = host.number(base + name + QStringLiteral("/max_brightness"));
        if (level && maximum) {
            return Backlight{*level, *maximum};
        }
    }
    return std::nullopt;
}

Value Backlight::levelData() const {
    return Value::data(QByteArray::number(static_cast<qlonglong>(level)));
}

Value Backlight::displayParameters() const {
    const Value brightness = Value::dictionary({{QStringLiteral("min"), Value::number(0)},
                                                {QStringLiteral("max"), Value::number(maximum)},
                                                {QStringLiteral("value"), Value::number(level)}});
    return Value::dictionary({{QStringLiteral("brightness"), brightness}});
}

} // namespace ioreg

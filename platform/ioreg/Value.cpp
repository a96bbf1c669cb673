#include "platform/ioreg/Value.h"

namespace ioreg {

Value Value::string(const QString& text) {
    Value value(Type::String);
    value.text_ = text;
    return value;
}

Value Value::boolean(bool flag) {
    Value value(Type::Boolean);
    value.flag_ = flag;
    return value;
}

Value Value::number(int64_t number) {
    Value value(Type::Number);
    value.number_ = number;
    return value;
}

Value Value::data(const QByteArray& bytes) {
    Value value(Type::Data);
    value.bytes_ = bytes;
    return value;
}

Value Value::array(std::vector<Value> elements) {
    Value value(Type::Array);
    value.elements_ = std::move(elements);
    return value;
}

Value Value::dictionary(Entries entries) {
    Value value(Type::Dictionary);
    value.entries_ = std::move(entries);
    return value;
}

std::optional<Value> Value::entry(const QString& key) const {
    for (const auto& [name, value] : entries_) {
        if (name == key) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace ioreg

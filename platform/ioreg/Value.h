#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace ioreg {

// A registry property: a string, a boolean, a number, raw data, an array of values or a
// dictionary of values under string keys (kept in insertion order).
class Value {
public:
    enum class Type { String, Boolean, Number, Data, Array, Dictionary };
    using Entries = std::vector<std::pair<QString, Value>>;

    static Value string(const QString& text);
    static Value boolean(bool flag);
    static Value number(int64_t number);
    static Value data(const QByteArray& bytes);
    static Value array(std::vector<Value> elements);
    static Value dictionary(Entries entries);

    Type type() const { return type_; }
    const QString& toString() const { return text_; }
    bool toBool() const { return flag_; }
    int64_t toNumber() const { return number_; }
    const QByteArray& toData() const { return bytes_; }
    const std::vector<Value>& elements() const { return elements_; }
    const Entries& entries() const { return entries_; }
    // The entry under key of a dictionary; none for a missing key or another type.
    std::optional<Value> entry(const QString& key) const;

    bool operator==(const Value& other) const = default;

private:
    explicit Value(Type type) : type_(type) {}

    Type type_;
    QString text_;
    bool flag_ = false;
    int64_t number_ = 0;
    QByteArray bytes_;
    std::vector<Value> elements_;
    Entries entries_;
};

} // namespace ioreg

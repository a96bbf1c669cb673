#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

namespace ui {

// Reads little-endian numbers from the front of a byte array, for the kit's binary
// data files. The caller checks has() before each read.
class LittleEndianReader {
public:
    explicit LittleEndianReader(const QByteArray& bytes) : bytes_(bytes) {}
    bool has(qsizetype count) const { return offset_ >= 0 && bytes_.size() - offset_ >= count; }
    qsizetype offset() const { return offset_; }
    void skip(qsizetype count) { offset_ += count; }
    quint16 u16() { return read<quint16>(); }
    quint32 u32() { return read<quint32>(); }
    qint32 i32() { return read<qint32>(); }
    // `length` bytes as UTF-8 text.
    QString text(qsizetype length) {
        const QString value = QString::fromUtf8(bytes_.constData() + offset_, length);
        offset_ += length;
        return value;
    }

private:
    template <typename T> T read() {
        const T value = qFromLittleEndian<T>(bytes_.constData() + offset_);
        offset_ += sizeof(T);
        return value;
    }

    const QByteArray& bytes_;
    qsizetype offset_ = 0;
};

} // namespace ui

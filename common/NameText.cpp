#include "common/NameText.h"

#include <cstdint>

namespace {

// The well-formed UTF-8 sequences, by their first byte: how long they are and the
// range of their second byte (the rest are continuation bytes, 80..BF). This leaves
// out overlong forms, the surrogates and anything above U+10FFFF.
struct SequenceForm {
    uint8_t firstLow, firstHigh;
    uint8_t secondLow, secondHigh;
    size_t length;
};

constexpr SequenceForm kSequenceForms[] = {
    {0x00, 0x7f, 0x00, 0xff, 1}, {0xc2, 0xdf, 0x80, 0xbf, 2}, {0xe0, 0xe0, 0xa0, 0xbf, 3},
    {0xe1, 0xec, 0x80, 0xbf, 3}, {0xed, 0xed, 0x80, 0x9f, 3}, {0xee, 0xef, 0x80, 0xbf, 3},
    {0xf0, 0xf0, 0x90, 0xbf, 4}, {0xf1, 0xf3, 0x80, 0xbf, 4}, {0xf4, 0xf4, 0x80, 0x8f, 4},
};

bool inRange(uint8_t byte, uint8_t low, uint8_t high) {
    return byte >= low && byte <= high;
}

// The length of the valid sequence that starts `bytes`, 0 when none does.
size_t validSequenceLength(std::string_view bytes) {
    const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    for (const SequenceForm& form : kSequenceForms) {
        if (!inRange(at(0), form.firstLow, form.firstHigh)) {
            continue;
        }
        if (bytes.size() < form.length ||
            (form.length > 1 && !inRange(at(1), form.secondLow, form.secondHigh))) {
            return 0;
        }
        for (size_t i = 2; i < form.length; ++i) {
            if (!inRange(at(i), 0x80, 0xbf)) {
                return 0;
            }
        }
        return form.length;
    }
    return 0;
}

QString escapedByte(uint8_t byte) {
    return QStringLiteral("\\x%1").arg(byte, 2, 16, QChar('0'));
}

} // namespace

QString NameText::fromBytes(std::string_view bytes) {
    QString text = QStringLiteral(""); // a name without bytes is empty, never null
    size_t validStart = 0;
    size_t i = 0;
    const auto flushValid = [&] {
        text +=
            QString::fromUtf8(bytes.data() + validStart, static_cast<qsizetype>(i - validStart));
    };
    while (i < bytes.size()) {
        const size_t length = validSequenceLength(bytes.substr(i));
        if (length > 0) {
            i += length;
            continue;
        }
        flushValid();
        text += escapedByte(static_cast<uint8_t>(bytes[i]));
        validStart = ++i;
    }
    flushValid();
    return text;
}

QString NameText::fromByteArray(const QByteArray& bytes) {
    return fromBytes(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

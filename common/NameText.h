#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

// A name the kernel hands over as bytes (a command, a mount point, a user, a terminal)
// as the screens show it: valid UTF-8 decoded, and each byte that is not part of valid
// UTF-8 kept visible as the four characters "\xNN" (lower-case hex), so that a name
// that is not text still shows, tells its bytes, and never shows as nothing.
class NameText {
public:
    static QString fromBytes(std::string_view bytes);
    static QString fromByteArray(const QByteArray& bytes);
};

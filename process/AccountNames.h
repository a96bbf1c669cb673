#pragma once

#include <QHash>
#include <QString>

#include <cstdint>

// User and group names by id, each looked up in the account databases once for the
// life of the object (one process snapshot), however many processes share the id.
class AccountNames {
public:
    // Empty text when the id has no entry.
    QString userName(uint32_t uid);
    QString groupName(uint32_t gid);

private:
    QHash<uint32_t, QString> users;
    QHash<uint32_t, QString> groups;
};

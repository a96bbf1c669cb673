#pragma once

#include <QByteArray>

// A file the update writes from scratch: whatever holds its name (a stale file of an
// interrupted run, a link planted there) is removed first, then the file is created
// exclusively, so a link is never followed and no other file is written through.
class ExclusiveFile {
public:
    // The descriptor of the new, empty file, or -1 with errno set.
    static int create(const QByteArray& path);
    // Syncs the file to storage and closes it: false with errno set when either fails
    // (the descriptor is closed all the same).
    static bool syncAndClose(int fd);
};

#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What a headless command writes, with every failure reported (errno tells why) and
// paths taken as the bytes the file system uses, whether or not they are UTF-8.
class OutputFile {
public:
    // All of `bytes` to `fd`, through partial writes and interruptions.
    static bool writeAll(int fd, QByteArrayView bytes);
    // The directory and its missing parents (mkdir -p).
    static bool makeDirectories(const QByteArray& path);
    // Writes `contents` to a temporary file beside `path`, flushes it to the disk and
    // renames it over `path`: after a failure (a full disk) neither name holds a
    // partial file.
    static bool replaceContents(const QByteArray& path, QByteArrayView contents);
};

#pragma once

#include <QString>

// Every test process runs with a private, throw-away documents directory and home,
// so that no test reads or writes the user's own files.
namespace testenv {

// The temporary documents directory of this test process.
QString documentsDir();

// A fresh empty directory below the process's temporary area.
QString makeTempDir(const QString& prefix);

// The path of a file or folder under tests/fixtures.
QString fixturePath(const QString& relative);

} // namespace testenv

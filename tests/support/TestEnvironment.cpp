#include "support/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace testenv {

namespace {
QTemporaryDir& processTempDir() {
    static QTemporaryDir dir(QDir::tempPath() + "/ormel-test-XXXXXX");
    return dir;
}
} // namespace

QString documentsDir() {
    const QString path = processTempDir().path() + "/Documents";
    QDir().mkpath(path);
    return path;
}

QString makeTempDir(const QString& prefix) {
    static int counter = 0;
    const QString path = processTempDir().path() + "/" + prefix + "-" + QString::number(++counter);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QString fixturePath(const QString& relative) {
    return QStringLiteral(ORMEL_FIXTURES_DIR_STR) + "/" + relative;
}

} // namespace testenv

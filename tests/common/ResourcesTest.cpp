#include "common/Resources.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <tuple>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(Resources, TextsComeFromTheTableAndMissingKeysShowAsThemselves) {
    EXPECT_EQ(Resources::text("SystemStatus"), "System Status");
    EXPECT_EQ(Resources::text("Avg15Mins"), "15 minutes");
    EXPECT_EQ(Resources::text("NoSuchKeyInTheTable"), "NoSuchKeyInTheTable");
    EXPECT_EQ(Resources::text(""), "");
}

TEST(Resources, TabImagesShipInTheBundle) {
    for (const char* name : {"system.png", "process.png", "memory.png", "disk.png", "network.png",
                             "Ormel.png", "none48.png"}) {
        EXPECT_FALSE(Resources::image(name).isNull()) << name;
    }
    EXPECT_TRUE(Resources::image("missing.png").isNull());
}

// Sets environment variables for one scope and puts the old values back.
class ScopedEnvironment {
public:
    void set(const char* name, const QByteArray& value) {
        saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        value.isNull() ? void(qunsetenv(name)) : void(qputenv(name, value));
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            const auto& [name, value, wasSet] = *it;
            wasSet ? void(qputenv(name, value)) : void(qunsetenv(name));
        }
    }

private:
    QList<std::tuple<const char*, QByteArray, bool>> saved_;
};

TEST(Resources, DocumentsDirectoryFollowsTheEnvironmentAndIsNeverMadeByReading) {
    EXPECT_EQ(QDir(Resources::documentsPath()).canonicalPath(),
              QDir(testenv::documentsDir()).canonicalPath());
    ScopedEnvironment environment;
    environment.set("ORMEL_DOCUMENTS_DIR", "/nonexistent/d\xff");
    EXPECT_EQ(Resources::documentsFilePath("ccTLD.dat"), "/nonexistent/d\xff/ccTLD.dat");
    EXPECT_EQ(Resources::dataFilePath("ormel_en.qm"), Resources::resourcePath() + "/ormel_en.qm");
    EXPECT_FALSE(QFileInfo::exists("/nonexistent"));
    environment.set("ORMEL_DOCUMENTS_DIR", QByteArray());
    environment.set("XDG_DATA_HOME", "relative/data");
    environment.set("HOME", "/home/someone");
    EXPECT_EQ(Resources::documentsPath(), "/home/someone/.local/share/Ormel");
    environment.set("HOME", QByteArray());
    EXPECT_EQ(Resources::documentsPath(), ""); // not "/.local/share/Ormel"
    EXPECT_EQ(Resources::documentsFilePath("ccTLD.dat"), "");
}

TEST(Resources, DataFilesAreLookedUpInTheDocumentsFirst) {
    // The compiled text table ships in the bundle; a copy in the documents wins.
    const QString name = QStringLiteral("ormel_en.qm");
    const QString shipped = Resources::resourcePath() + "/" + name;
    const QString downloaded = Resources::documentsPath() + "/" + name;
    EXPECT_EQ(Resources::dataFilePath(name), shipped);
    writeFile(downloaded, "downloaded");
    EXPECT_EQ(Resources::dataFilePath(name), downloaded);
    QFile::remove(downloaded);
    EXPECT_EQ(Resources::dataFilePath(name), shipped);
    EXPECT_EQ(Resources::dataFilePath("no-such-file.dat"), "");
    QDir().mkpath(Resources::documentsPath() + "/folder.dat");
    EXPECT_EQ(Resources::dataFilePath("folder.dat"), ""); // a folder is no data file
}

} // namespace

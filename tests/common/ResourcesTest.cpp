#include "common/Resources.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

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

TEST(Resources, DocumentsDirectoryFollowsTheEnvironment) {
    EXPECT_EQ(QDir(Resources::documentsPath()).canonicalPath(),
              QDir(testenv::documentsDir()).canonicalPath());
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

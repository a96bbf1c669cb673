#include "UpdateFixture.h"

#include "support/TestEnvironment.h"

#include "common/Resources.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ProgressView.h"
#include "registry/TarnelDB.h"
#include "update/DownloadSheet.h"
#include "update/DownloadSheetDelegate.h"
#include "update/UpdateDB.h"
#include "update/UpdateDBDelegate.h"

namespace updatetest {
namespace {

using Behaviour = testenv::HttpTestServer::Behaviour;

TEST_F(UpdateTest, AnUpdateIsDueOnceTheCopyInUseIsOlderThan25Hours) {
    writeFile(path(), registryFile(registryfile::JP));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    setModified(path(), now.addSecs(-24 * 3600));
    EXPECT_FALSE(UpdateDB::needsUpdateElapsed("ccTLD.dat", UpdateDB::updateInterval, now));
    setModified(path(), now.addSecs(-26 * 3600));
    EXPECT_TRUE(UpdateDB::needsUpdateElapsed("ccTLD.dat", UpdateDB::updateInterval, now));
}

// The shipped copy's file time is when Ormel was built or installed; its data is as old
// as its newest registry date.
TEST(UpdateDB, TheShippedCopyIsAsOldAsItsNewestRegistryDate) {
    const QByteArray savedDocuments = qgetenv("ORMEL_DOCUMENTS_DIR");
    qputenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(testenv::makeTempDir("shipped-copy")));
    TarnelDB* tarnel = TarnelDB::sharedInstance();
    tarnel->updated(); // no documents copy: the shipped file
    ASSERT_TRUE(tarnel->ready());
    ASSERT_FALSE(tarnel->openPath().startsWith(Resources::documentsPath()));
    EXPECT_EQ(UpdateDB::modificationDate("ccTLD.dat"),
              QDateTime(QDate(2026, 8, 21), QTime(0, 0), Qt::UTC));
    EXPECT_TRUE(UpdateDB::needsUpdateElapsed("ccTLD.dat", UpdateDB::updateInterval,
                                             QDateTime(QDate(2026, 8, 23), QTime(0, 0), Qt::UTC)));
    qputenv("ORMEL_DOCUMENTS_DIR", savedDocuments);
    tarnel->updated();
}

struct Agreeing : UpdateDBDelegate {
    int asked = 0;
    void updateDatabase() override { ++asked; }
};

TEST(UpdateDB, OnlyOKStartsTheUpdate) {
    Agreeing delegate;
    UpdateDB::sharedInstance()->setDelegate(&delegate);
    for (int button : {0, 1}) {
        UpdateDB::sharedInstance()->confirmUpdate();
        ASSERT_EQ(ui::AlertView::visibleAlerts().size(), 1);
        ui::AlertView* alert = ui::AlertView::visibleAlerts().front();
        EXPECT_EQ(alert->title(), "Confirmation");
        EXPECT_EQ(alert->buttonTitleAtIndex(0), "Cancel");
        alert->dismissWithClickedButtonIndexAnimated(button, false);
        testenv::flushEvents();
    }
    EXPECT_EQ(delegate.asked, 1);
    UpdateDB::sharedInstance()->setDelegate(nullptr);
}

struct SheetOutcome : DownloadSheetDelegate {
    int succeeded = 0;
    int failed = 0;
    void downloadDidSucceed() override { ++succeeded; }
    void downloadDidFail() override { ++failed; }
};

RegistryUpdate::Options singleFile(const QByteArray& url) {
    return {{{QUrl(QString::fromLatin1(url))}, true}, {}, 0, 0};
}

TEST_F(UpdateTest, TheSheetShowsProgressThenGoes) {
    server_.serve("/ccTLD.dat", {200, registryFile(registryfile::US), {}, Behaviour::Whole, {}});
    SheetOutcome outcome;
    auto* sheet = new DownloadSheet(singleFile(server_.url("/ccTLD.dat")));
    sheet->setSheetDelegate(&outcome);
    QPointer<ui::ProgressView> progress = sheet->progressView();
    EXPECT_EQ(progress->size(), QSize(300, 32));
    sheet->start();
    EXPECT_EQ(ui::ActionSheet::visibleSheets().size(), 1);
    ASSERT_TRUE(testenv::processEventsUntil([&] { return outcome.succeeded > 0; }));
    EXPECT_TRUE(ui::ActionSheet::visibleSheets().isEmpty());
    EXPECT_TRUE(ui::AlertView::visibleAlerts().isEmpty());
    testenv::flushEvents();
    EXPECT_TRUE(progress.isNull());
}

TEST_F(UpdateTest, TheSheetSaysWhyTheDownloadFailed) {
    server_.serve("/ccTLD.dat", {404, "gone", {}, Behaviour::Whole, {}});
    SheetOutcome outcome;
    auto* sheet = new DownloadSheet(singleFile(server_.url("/ccTLD.dat")));
    sheet->setSheetDelegate(&outcome);
    sheet->start();
    ASSERT_TRUE(testenv::processEventsUntil([&] { return outcome.failed > 0; }));
    ASSERT_EQ(ui::AlertView::visibleAlerts().size(), 1);
    ui::AlertView* alert = ui::AlertView::visibleAlerts().front();
    EXPECT_TRUE(alert->message().startsWith(Resources::text("DownloadFailed")));
    EXPECT_TRUE(alert->message().contains("404")) << alert->message().toStdString();
    alert->dismissWithClickedButtonIndexAnimated(0, false);
    testenv::flushEvents();
}

} // namespace
} // namespace updatetest

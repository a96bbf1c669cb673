#include "app/InformationViewController.h"

#include "app/DonationView.h"

#include "app/HeadlessRunner.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "registry/TarnelDB.h"
#include "registry/WorldMapView.h"
#include "registry/tarnel.h"
#include "support/TestEnvironment.h"
#include "system/SystemStatusViewController.h"
#include "tests/app/LaunchedApp.h"
#include "tests/network/NetworkScreensFixture.h"
#include "tests/registry/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QUrlQuery>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Section = InformationViewController::Section;

class InformationViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        services::URLOpener::setSeam([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        useShippedFile();
    }
    void TearDown() override {
        services::URLOpener::setSeam({});
        InformationViewController::setUpdateStarter({});
        for (ui::AlertView* alert : ui::AlertView::visibleAlerts()) {
            alert->dismissWithClickedButtonIndexAnimated(0, false);
        }
        useShippedFile();
    }

    static QString downloadedPath() { return QDir(testenv::documentsDir()).filePath("ccTLD.dat"); }
    static void useShippedFile() {
        QFile::remove(downloadedPath());
        TarnelDB::sharedInstance()->updated();
    }
    static void useFile(const QByteArray& bytes) {
        ASSERT_TRUE(registryfile::write(downloadedPath(), bytes));
        TarnelDB::sharedInstance()->updated();
    }

    static InformationSettings everything() {
        InformationSettings settings;
        settings.reportAddress = QStringLiteral("bugs@example.org");
        settings.changeLogURL = QUrl::fromLocalFile(QStringLiteral("/bundle/docs/CHANGELOG.md"));
        settings.knownProblemsURL =
            QUrl::fromLocalFile(QStringLiteral("/bundle/docs/KNOWN-PROBLEMS.md"));
        settings.flagProjectURL = QUrl(QStringLiteral("https://example.org/flags"));
        return settings;
    }

    // A loaded screen.
    std::unique_ptr<InformationViewController> screen(const InformationSettings& settings) {
        auto made = std::make_unique<InformationViewController>(settings);
        made->view();
        return made;
    }

    static int recordRows(InformationViewController& shown) {
        return shown.tableViewNumberOfRowsInSection(shown.tableView(), 0);
    }

    QList<QUrl> opened;
};

TEST_F(InformationViewControllerTest, RecordsShowEachRegistryOfTheFileAboveTheMap) {
    auto shown = screen({});
    uint8_t count = 0;
    ASSERT_EQ(tl_meta_registries(&count), 0);
    ASSERT_EQ(count, 5);
    ui::NumberFormatter format;
    format.setNumberStyle(ui::NumberFormatterStyle::Decimal);
    const char* names[] = {"AFRINIC", "APNIC", "ARIN", "LACNIC", "RIPE NCC"};
    ASSERT_EQ(shown->infoData().size(), 5);
    for (uint8_t index = 0; index < count; ++index) {
        tl_registry_info info{};
        ASSERT_EQ(tl_meta_registry_info(index, &info), 0);
        const QStringList& row = shown->infoData()[index];
        EXPECT_EQ(row[0], names[index]);
        EXPECT_EQ(row[1], format.stringFromNumber(int64_t{info.count}));
        const QString digits = QString::number(info.date);
        EXPECT_EQ(row[2], digits.left(4) + '-' + digits.mid(4, 2) + '-' + digits.mid(6, 2));
    }
    EXPECT_EQ(recordRows(*shown), 6); // five registries and the map

    // A file of other registries, one of them without data: rows follow the file.
    using namespace registryfile;
    useFile(bytes({{12345, 20260102}, {0, 0}}, {}));
    shown->reloadRecords();
    ASSERT_EQ(shown->infoData().size(), 2);
    EXPECT_EQ(shown->infoData()[0], QStringList({"AFRINIC", "12,345", "2026-01-02"}));
    EXPECT_EQ(shown->infoData()[1], QStringList({"APNIC", "0", "0"}));

    // No registry at all: the map alone.
    useFile(bytes({}, {}));
    EXPECT_EQ(recordRows(*screen({})), 1);
}

TEST_F(InformationViewControllerTest, RowsWhoseTargetIsNotConfiguredAreLeftOut) {
    auto bare = screen({});
    EXPECT_EQ(bare->sections(), QList<Section>({Section::Records, Section::Credits}));
    EXPECT_EQ(bare->tableView()->numberOfSections(), 2);
    EXPECT_EQ(bare->tableView()->tableFooterView(), nullptr);

    InformationSettings donations;
    donations.donationURL = QUrl(QStringLiteral("https://example.org/donate"));
    auto withDonations = screen(donations);
    auto* footer = dynamic_cast<DonationView*>(withDonations->tableView()->tableFooterView());
    ASSERT_NE(footer, nullptr);
    footer->button()->click();
    EXPECT_EQ(opened, QList<QUrl>({donations.donationURL}));
    opened.clear();

    InformationSettings documentsOnly = everything();
    documentsOnly.reportAddress.clear();
    documentsOnly.flagProjectURL.clear();
    documentsOnly.knownProblemsURL.clear();
    auto some = screen(documentsOnly);
    EXPECT_EQ(some->sections(),
              QList<Section>({Section::Records, Section::Links, Section::Credits}));
    EXPECT_EQ(some->linkTitles(), QStringList({"Change log"}));

    auto full = screen(everything());
    EXPECT_EQ(full->sections(),
              QList<Section>({Section::Records, Section::Links, Section::Mail, Section::Credits}));
    EXPECT_EQ(full->linkTitles(),
              QStringList({"Change log", "Known problems", "Flag icons by Linux Mint"}));
}

TEST_F(InformationViewControllerTest, LinksOpenDocumentsOfflineAndWebPagesOnlyWhenReachable) {
    auto shown = screen(everything());
    ui::TableView* table = shown->tableView();
    // A tap on the row itself opens nothing: the accessory button does.
    shown->tableViewDidSelectRowAtIndexPath(table, {1, 0});
    EXPECT_TRUE(opened.isEmpty());
    shown->tableViewAccessoryButtonTappedForRowWithIndexPath(table, {1, 1});
    EXPECT_EQ(opened, QList<QUrl>({everything().knownProblemsURL}));

    // No application has found the network reachable here.
    shown->tableViewAccessoryButtonTappedForRowWithIndexPath(table, {1, 2});
    EXPECT_EQ(opened.size(), 1);
    ASSERT_EQ(ui::AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(ui::AlertView::visibleAlerts()[0]->message(), "The network is unreachable.");

    shown->tableViewDidSelectRowAtIndexPath(table, {2, 0});
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1].scheme(), "mailto");
    EXPECT_EQ(opened[1].path(), "bugs@example.org");
}

TEST_F(InformationViewControllerTest, ReportURLNamesVersionDeviceAndSystem) {
    const QUrl url = InformationViewController::reportURL(
        "bugs@example.org", "Laptop", "Debian GNU/Linux 12", "Linux 6.1.0-18-amd64",
        "Debian GNU/Linux 12 (bookworm)");
    const QString version = InformationViewController::version();
    EXPECT_EQ(url.toString(QUrl::FullyEncoded),
              "mailto:bugs@example.org?subject=%5BBug%5D%20Ormel%28v" + version +
                  "%29%20on%20Laptop%20%28Debian%20GNU%2FLinux%2012%29&body=Version%3A%20" +
                  version +
                  "%0AKernel%3A%20Linux%206.1.0-18-amd64%0ADistribution%3A%20Debian%20GNU%2F"
                  "Linux%2012%20%28bookworm%29%0A%0A");
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded),
              "[Bug] Ormel(v" + version + ") on Laptop (Debian GNU/Linux 12)");
    // An ampersand in a value stays inside it.
    const QUrl odd = InformationViewController::reportURL("a@b", "R&D", "1", "k", "d");
    EXPECT_EQ(QUrlQuery(odd).queryItemValue("subject", QUrl::FullyDecoded),
              "[Bug] Ormel(v" + version + ") on R&D (1)");
}

TEST_F(InformationViewControllerTest, CreditsNameTheProgramAndTheDataSourcesInTallEnoughRow) {
    auto shown = screen({});
    const QString credits = shown->creditsText();
    EXPECT_TRUE(credits.startsWith("Ormel v" + InformationViewController::version() + '\n'));
    for (const char* source :
         {"NRO (CC BY 4.0)", "Natural Earth", "iso-flags", "IANA", "GeoNames"}) {
        EXPECT_TRUE(credits.contains(source)) << source;
    }
    const double height = shown->tableViewHeightForRowAtIndexPath(shown->tableView(), {1, 0});
    EXPECT_GE(height, 200);
    EXPECT_EQ(height, shown->creditsHeight());
}

TEST_F(InformationViewControllerTest, OnlyATripleTapStartsTheUpdateAndOnlyWithAStarter) {
    auto shown = screen({});
    WorldMapView* map = shown->worldMap();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->delegate(), shown.get());
    EXPECT_FALSE(map->image().isNull());
    shown->worldMapViewTapCount(map, 3); // nothing installed: nothing happens
    EXPECT_EQ(recordRows(*shown), 6);

    QList<InformationViewController*> started;
    InformationViewController::setUpdateStarter(
        [&started](InformationViewController* from) { started.append(from); });
    shown->worldMapViewTapCount(map, 1);
    shown->worldMapViewTapCount(map, 2);
    EXPECT_TRUE(started.isEmpty());
    shown->worldMapViewTapCount(map, 3);
    EXPECT_EQ(started, QList<InformationViewController*>({shown.get()}));

    // The update row below the map does the same.
    auto again = screen({});
    ASSERT_EQ(recordRows(*again), 7);
    EXPECT_EQ(again->tableView()->rowTexts({0, 6}), QStringList({"Update the registry file"}));
    again->tableViewDidSelectRowAtIndexPath(again->tableView(), {0, 6});
    EXPECT_EQ(started.size(), 2);
    EXPECT_EQ(started[1], again.get());
}

TEST_F(InformationViewControllerTest, DumpShowsTheScreenTheInfoButtonOpens) {
    NetworkScreensFixture host;
    LaunchedApp app{host.kernel};
    app.launch();
    QString text;
    QString error;
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*app.controller, "information", false, &text, &error))
        << error.toStdString();
    const QString credits = InformationViewController().creditsText().replace('\n', "\\n");
    EXPECT_EQ(text, "== Information\n"
                    "-- Records\n"
                    "AFRINIC\t6,045\t2026-08-21\n"
                    "APNIC\t25,898\t2014-10-09\n"
                    "ARIN\t46,593\t2013-08-13\n"
                    "LACNIC\t19,802\t2024-02-08\n"
                    "RIPE NCC\t50,134\t2014-08-03\n"
                    "\n"
                    "Update the registry file\n"
                    "-- Link to\n"
                    "Change log\n"
                    "Known problems\n"
                    "Flag icons by Linux Mint\n"
                    "-- Credits\n" +
                        credits + '\n');
    // A second dump finds the screen opened afresh, not one over the other.
    ASSERT_TRUE(HeadlessRunner::dumpScreen(*app.controller, "information", false, &text, &error));
    EXPECT_TRUE(text.startsWith("== Information\n"));

    // Done takes the whole presented stack away.
    SystemStatusViewController* system = app.controller->systemStatusViewController();
    auto* stack = qobject_cast<ui::NavigationController*>(system->modalViewController());
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->navigationBar()->barStyle(), ui::BarStyle::Black);
    stack->topViewController()->navigationItem()->leftBarButtonItem()->trigger();
    EXPECT_EQ(system->modalViewController(), nullptr);
}

} // namespace

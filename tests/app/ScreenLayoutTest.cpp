#include "app/AppController.h"
#include "app/HeadlessRunner.h"
#include "app/InformationUpdate.h"
#include "common/Resources.h"
#include "history/HistoryDB.h"
#include "location/LocationController.h"
#include "location/MapAnnotation.h"
#include "location/MapViewController.h"
#include "network/NetworkLookupScreens.h"
#include "platform/ioreg/FixtureBackend.h"
#include "platform/ioreg/Registry.h"
#include "platform/services/NetworkReachability.h"
#include "platform/services/PlatformProfile.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"
#include "platform/ui/MapView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/ViewAnimation.h"
#include "registry/ReverseDNS.h"
#include "registry/TarnelPopupView.h"
#include "registry/TarnelView.h"
#include "support/EventLoop.h"
#include "support/SystemFixture.h"
#include "system/SystemStatus.h"
#include "system/SystemStatusViewController.h"
#include "tests/app/LaunchedApp.h"
#include "tests/location/FakeLocationManager.h"
#include "tests/network/NetworkScreensFixture.h"
#include "tests/update/HttpTestServer.h"
#include "update/DownloadSheet.h"

#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

#include <cmath>

#include <memory>
#include <utime.h>

namespace {

// A screen of the application in a window of the given size, at the given scale.
struct Layout {
    const char* name;
    double scale;
    ui::Size window; // points
};

class ScreenLayoutTest : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        savedScale = ui::Screen::scale();
        ui::Screen::setScale(GetParam().scale);
        darwin::StatfsRecord disk;
        disk.bsize = 4096;
        disk.blocks = 1'000'000;
        disk.bfree = disk.bavail = 250'000;
        disk.fstypename = "hfs";
        disk.mntonname = "/";
        disk.mntfromname = "/dev/disk0s1";
        kernel.backend->setMounts({disk}); // so that the disk card and its chart are checked
        recordHistory();
        describeDevice();
        LocationController::setSharedInstanceForTesting(&location);
        app.launch();
        controller = app.controller.get();
        const ui::Size size = GetParam().window;
        controller->window()->resize(ui::Screen::px(size.width), ui::Screen::px(size.height));
        controller->window()->show();
    }
    void TearDown() override {
        app.controller.reset();
        LocationController::setSharedInstanceForTesting(nullptr);
        ioreg::Registry::install(std::make_shared<ioreg::FixtureBackend>());
        ui::Screen::setScale(savedScale);
        HistoryDB::sharedInstance()->close();
    }

    // A handheld's battery, wireless link and hardware, so that the System screen's
    // sections have rows to lay out.
    void describeDevice() {
        using namespace darwin;
        kernel.backend->setSysctl({CTL_HW, HW_MACHINE}, SystemFixture::nodeText("iPhone2,1"));
        kernel.backend->setSysctl({CTL_HW, HW_MODEL}, SystemFixture::nodeText("N88AP"));
        kernel.backend->setSysctlInteger64({CTL_HW, HW_PHYSMEM}, int64_t{6} << 30);
        kernel.backend->setSysctlInteger64({CTL_HW, HW_CPU_FREQ}, 412000000);
        kernel.backend->setSysctl({CTL_KERN, KERN_OSTYPE}, SystemFixture::nodeText("Linux"));
        kernel.backend->setSysctl({CTL_KERN, KERN_OSRELEASE},
                                  SystemFixture::nodeText("6.1.0-28-arm64"));
        auto registry = std::make_shared<ioreg::FixtureBackend>();
        registry->addService(ioreg::Service{services::PlatformProfile::kLinuxBatteryServiceClass,
                                            {{"Serial", ioreg::Value::string("B1234")},
                                             {"Model", ioreg::Value::string("BAT-5500")},
                                             {"CurrentCapacity", ioreg::Value::number(1234)},
                                             {"MaxCapacity", ioreg::Value::number(1400)},
                                             {"IsCharging", ioreg::Value::boolean(true)}}});
        registry->addService(ioreg::Service{"IO80211Interface",
                                            {{"IO80211SSID", ioreg::Value::string("home")},
                                             {"IO80211Channel", ioreg::Value::number(36)},
                                             {"IO80211Band", ioreg::Value::string("5 GHz")}}});
        ioreg::Registry::install(registry);
    }

    // Addresses in the lookup history, so that its screens have rows to lay out.
    static void recordHistory() {
        HistoryDB* history = HistoryDB::sharedInstance();
        history->close();
        ASSERT_TRUE(history->begin());
        const QStringList rows[] = {
            {"133.5.6.7", "JP", "Japan", "APNIC", "Asia/Pacific Region", "133.0.0.0/8",
             "1997-03-01 (allocated)"},
            {"133.5.6.7", "JP", "Japan", "APNIC", "Asia/Pacific Region", "133.0.0.0/8",
             "1997-03-01 (allocated)"},
            {"8.8.8.8", "US", "United States", "ARIN", "North America", "8.8.8.0/24",
             "2023-12-28 (assigned)"},
        };
        for (const QStringList& row : rows) {
            history->insertHistory(row);
        }
        ASSERT_TRUE(history->commit());
        history->updateHostnameWithIPAddress("www.example.ac.jp", "133.5.6.7");
    }

    // Shows `screen` as --dump does and returns its table.
    ui::TableView* show(const QString& screen) {
        QString text;
        QString error;
        EXPECT_TRUE(HeadlessRunner::dumpScreen(*controller, screen, false, &text, &error))
            << error.toStdString();
        ui::TabBarController* tabs = controller->tabBarManager();
        auto* stack = qobject_cast<ui::NavigationController*>(tabs->selectedViewController());
        ui::ViewController* shown = stack->topViewController();
        // A screen presented over the tab (the information screen) in a stack of its own.
        if (auto* modal = qobject_cast<ui::NavigationController*>(shown->modalViewController())) {
            shown = modal->topViewController();
        }
        auto* top = qobject_cast<ui::TableViewController*>(shown);
        return top != nullptr ? top->tableView() : nullptr;
    }

    // Writes what the window shows when ORMEL_LAYOUT_SHOTS names a folder to put it in.
    void keepPicture(const QString& screen) {
        const QString folder = qEnvironmentVariable("ORMEL_LAYOUT_SHOTS");
        if (folder.isEmpty()) {
            return;
        }
        const QString path = folder + '/' + GetParam().name;
        QDir().mkpath(path);
        controller->window()->grab().save(path + '/' + QString(screen).replace('/', '-') + ".png");
    }

    double savedScale = 1;
    FakeLocationManager* locationService = new FakeLocationManager();
    LocationController location{std::unique_ptr<FakeLocationManager>(locationService)};
    NetworkScreensFixture network;
    SystemFixture& kernel = network.kernel;
    LaunchedApp app{kernel};
    AppController* controller = nullptr;
};

QRect inWindow(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// Whether a table inside the cell (a chart's legend) clips `widget`.
bool insideInnerTable(const QWidget* widget, const QWidget* cell) {
    for (const QWidget* up = widget->parentWidget(); up != nullptr && up != cell;
         up = up->parentWidget()) {
        if (qobject_cast<const ui::TableView*>(up) != nullptr) {
            return true;
        }
    }
    return false;
}

// Whether another label of the cell begins to the right of `label`: then `label` is a
// column inside the row (the interface row's MTU), not the row's value.
bool hasLabelToTheRight(const QLabel* label, const QWidget* cell) {
    const int right = label->mapTo(cell, QPoint(label->width(), 0)).x();
    for (const QLabel* other : cell->findChildren<QLabel*>()) {
        if (other != label && other->isVisible() && other->width() > 0 &&
            other->mapTo(cell, QPoint(0, 0)).x() >= right) {
            return true;
        }
    }
    return false;
}

// One pixel of slack for rounding points to pixels at fractional positions.
constexpr int kSlack = 1;

TEST_P(ScreenLayoutTest, TabBarShowsWholeAndValuesKeepToTheRightOfTheirCards) {
    const QRect window = controller->window()->rect();
    const QRect tabBar = inWindow(controller->tabBarManager()->tabBar());
    EXPECT_TRUE(window.contains(tabBar)) << tabBar.bottom() << " in " << window.height();
    EXPECT_GE(tabBar.height(), ui::Screen::px(40));

    for (const char* name :
         {"system", "process", "process/1", "memory", "disk", "network", "network/interface/en0",
          "network/routing", "network/route/3", "network/route/4", "network/tcp", "network/udp",
          "network/peer/133.5.6.7:443/tcp", "destination/133.5.6.7", "history", "history/date",
          "history/1", "information"}) {
        const QString screen = QString::fromLatin1(name);
        SCOPED_TRACE(screen.toStdString());
        ui::TableView* table = show(screen);
        ASSERT_NE(table, nullptr);
        keepPicture(screen);
        for (ui::TableViewCell* cell : table->visibleCells()) {
            const QRect card = cell->geometry();
            EXPECT_TRUE(table->viewport()
                            ->rect()
                            .adjusted(0, -card.height(), 0, card.height())
                            .contains(card));
            if (cell->groupPosition() != ui::TableViewCell::GroupPosition::None) {
                // A card keeps its designed width, centred in a wide table.
                EXPECT_LE(card.width(), ui::Screen::px(300) + kSlack);
                EXPECT_NEAR(card.center().x(), table->viewport()->rect().center().x(), 1);
            }
            for (const QLabel* label : cell->findChildren<QLabel*>()) {
                const bool value = (label->alignment() & Qt::AlignRight) && label->isVisible() &&
                                   !label->text().isEmpty() && !hasLabelToTheRight(label, cell);
                if (!value) {
                    continue;
                }
                // A value's right edge is at the card's right inset, not mid-card.
                const int right = label->mapTo(cell, QPoint(label->width(), 0)).x();
                EXPECT_LE(right, card.width() - ui::Screen::px(4) + kSlack)
                    << label->text().toStdString();
                EXPECT_GE(right, card.width() - ui::Screen::px(40) - kSlack)
                    << label->text().toStdString();
            }
            // The network screens' texts show whole: shrunk to fit, never cut.
            for (const QLabel* label : cell->findChildren<QLabel*>()) {
                const auto* shown = qobject_cast<const ui::Label*>(label);
                if (!screen.startsWith("network") || shown == nullptr || !label->isVisible()) {
                    continue;
                }
                const QFontMetrics metrics(shown->shownFont());
                EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                    << label->text().toStdString();
                EXPECT_LE(metrics.height(), label->height() + kSlack)
                    << label->text().toStdString();
            }
            // Charts and whatever else a row holds stay inside its card.
            for (const QWidget* child : cell->findChildren<QWidget*>()) {
                if (child->isVisible() && !insideInnerTable(child, cell)) {
                    const QRect box(child->mapTo(cell, QPoint(0, 0)), child->size());
                    EXPECT_TRUE(
                        cell->rect().adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(box))
                        << child->metaObject()->className();
                }
            }
        }
    }
}

TEST_P(ScreenLayoutTest, TheLookupPopupFitsTheWindowAndShowsItsRowsWhole) {
    ReverseDNS::setBackgroundQueriesAllowed(false);
    ui::ViewAnimation::setAnimationsEnabled(false);
    show("network/routing");
    NetworkLookupScreens::showLookupPopup("133.5.6.7", controller->window());
    auto* carrier = TarnelPopupView::shownIn(controller->window());
    ASSERT_NE(carrier, nullptr);
    TarnelView* panel = carrier->tarnelView();
    keepPicture("popup");
    ui::ViewAnimation::setAnimationsEnabled(true);
    ReverseDNS::setBackgroundQueriesAllowed(true);

    const QRect window = controller->window()->rect();
    EXPECT_EQ(carrier->geometry(), window);
    EXPECT_TRUE(window.contains(inWindow(panel)));
    EXPECT_NEAR(inWindow(panel).center().x(), window.center().x(), 1);
    for (ui::TableViewCell* cell : panel->tableView()->visibleCells()) {
        for (const QLabel* label : cell->findChildren<QLabel*>()) {
            if (!label->isVisible() || label->text().isEmpty()) {
                continue;
            }
            EXPECT_TRUE(
                panel->rect().contains(QRect(label->mapTo(panel, QPoint(0, 0)), label->size())))
                << label->text().toStdString();
            const QFontMetrics metrics(label->font());
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                << label->text().toStdString();
        }
    }
    carrier->dismiss();
}

// The whole System screen, scrolled from top to bottom, with a location reading, and the
// map its location rows open.
TEST_P(ScreenLayoutTest, TheSystemScreenScrolledAndTheMapOfItsReading) {
    ui::TableView* table = show("system");
    ASSERT_NE(table, nullptr);
    locationService->send({35.681, 139.767, 40, 12, 8, QDateTime::currentDateTimeUtc()});
    location.stopAndNotice();
    testenv::flushEvents();
    const double bottom = table->contentSize().height - ui::Screen::toPoints(table->height());
    for (int page = 0; page <= 4; ++page) {
        table->setContentOffset({0, std::max(0.0, bottom) * page / 4});
        testenv::flushEvents();
        keepPicture(QStringLiteral("system-%1").arg(page + 1));
    }
    table->setContentOffset({0, 0});
    const QString rows = table->renderText();
    EXPECT_TRUE(rows.contains("Latitude\tN 35° 40′ 51.60″\n")) << rows.toStdString();

    table->tapRowAtIndexPath({SystemStatusViewController::LocationSection, 0});
    testenv::flushEvents();
    auto* stack = qobject_cast<ui::NavigationController*>(
        controller->tabBarManager()->selectedViewController());
    ASSERT_NE(stack, nullptr);
    auto* modal =
        qobject_cast<ui::NavigationController*>(stack->topViewController()->modalViewController());
    ASSERT_NE(modal, nullptr);
    auto* map = dynamic_cast<MapViewController*>(modal->topViewController());
    ASSERT_NE(map, nullptr);
    testenv::processEventsUntil([map] { return map->mapPin()->placemark().has_value(); });
    testenv::flushEvents();
    keepPicture("map");
    EXPECT_EQ(map->calloutText(), "Here\nTokyo, Japan");
    const QRect window = controller->window()->rect();
    EXPECT_TRUE(window.contains(inWindow(map->mapView())));
    map->closeAction();
    testenv::flushEvents();
}

// The registry update as the Information screen starts it: the question, then the
// sheet while a (stalled, loopback) download runs.
TEST_P(ScreenLayoutTest, TheRegistryUpdateAsksThenShowsItsSheet) {
    testenv::HttpTestServer server;
    server.serve("/ccTLD.dat",
                 {200, QByteArray(4096, 0), {}, testenv::HttpTestServer::Behaviour::Stall, {}});
    qputenv("ORMEL_REGISTRY_URL", server.url("/ccTLD.dat"));
    const QString documents = QString::fromLocal8Bit(qgetenv("ORMEL_DOCUMENTS_DIR"));
    QFile::remove(documents + "/ccTLD.dat");
    QFile::copy(Resources::resourcePath() + "/ccTLD.dat", documents + "/ccTLD.dat");
    const time_t twoDaysAgo = ::time(nullptr) - 48 * 3600;
    const utimbuf times{twoDaysAgo, twoDaysAgo};
    ::utime(QFile::encodeName(documents + "/ccTLD.dat").constData(), &times);
    services::NetworkReachability::setPathSource([] { return services::NetworkPath{true, false}; });
    controller->checkReachability();

    ASSERT_NE(show("information"), nullptr);
    InformationUpdate::start(nullptr);
    testenv::flushEvents();
    ASSERT_EQ(ui::AlertView::visibleAlerts().size(), 1);
    keepPicture("update-confirmation");
    ui::AlertView* question = ui::AlertView::visibleAlerts().front();
    question->dismissWithClickedButtonIndexAnimated(question->firstOtherButtonIndex(), false);
    testenv::flushEvents();
    keepPicture("update-sheet");
    auto* sheet = controller->window()->findChild<ui::ProgressView*>();
    EXPECT_NE(sheet, nullptr) << "the sheet shows its progress bar";

    // Leaves the installed file as it was: the stalled download is abandoned.
    for (ui::ActionSheet* shown : ui::ActionSheet::visibleSheets()) {
        if (auto* running = dynamic_cast<DownloadSheet*>(shown)) {
            running->cancel();
        }
    }
    testenv::flushEvents();
    qunsetenv("ORMEL_REGISTRY_URL");
    services::NetworkReachability::setPathSource({});
    QFile::remove(documents + "/ccTLD.dat");
    QFile::remove(documents + "/ccTLD.dat.bak");
}

INSTANTIATE_TEST_SUITE_P(Windows, ScreenLayoutTest,
                         ::testing::Values(Layout{"small-display-1x",
                                                  ui::Screen::chooseScale(QSize(800, 480)),
                                                  {320, 480}},
                                           Layout{"wide-window-2x", 2.0, {900, 480}}),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                             return std::string(info.param.name[0] == 's' ? "SmallDisplay"
                                                                          : "WideWindow");
                         });

} // namespace

#include "registry/TarnelPopupView.h"

#include "history/HistoryDB.h"
#include "platform/ui/DelayedPerform.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewAnimation.h"
#include "registry/PopupView.h"
#include "registry/TarnelDB.h"
#include "registry/TarnelView.h"

#include "support/EventLoop.h"
#include "support/ManualTimer.h"
#include "support/TestEnvironment.h"
#include "tests/platform/ui/Events.h"
#include "tests/registry/DnsResponder.h"

#include "support/QtPrinters.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kAddress = QStringLiteral("133.5.6.7"); // in the registry: JP, APNIC

class Panel : public PopupView {
public:
    Panel() : PopupView(TarnelView::kDesignedFrame) {}
    int appeared = 0;
    int dismissed = 0;

protected:
    void viewDidAppear() override { ++appeared; }
    void viewDidDismiss() override { ++dismissed; }
};

// A 320 × 480 point window on the test's own clock, and a history of its own.
class LookupPopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDocuments = qgetenv("ORMEL_DOCUMENTS_DIR");
        qputenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(testenv::makeTempDir("popup")));
        HistoryDB::sharedInstance()->close();
        ui::DelayedPerform::setTimer(&timer);
        ui::ViewAnimation::setClock([this] { return timer.now(); });
        ui::setFrame(window.get(), {0, 0, 320, 480});
    }
    void TearDown() override {
        window.reset();
        ReverseDNS::waitForQueries(30000);
        testenv::flushEvents();
        ui::ViewAnimation::setClock({});
        ui::DelayedPerform::setTimer(nullptr);
        HistoryDB::sharedInstance()->close();
        qputenv("ORMEL_DOCUMENTS_DIR", savedDocuments);
    }
    // The popup of kAddress over the window, grown to its frame.
    TarnelView* openPopup() {
        TarnelPopupView::popUp(kAddress, window.get());
        auto* carrier = TarnelPopupView::shownIn(window.get());
        timer.runFor(600);
        return carrier != nullptr ? carrier->tarnelView() : nullptr;
    }
    void recordAddress() {
        HistoryDB* history = HistoryDB::sharedInstance();
        ASSERT_TRUE(history->begin());
        history->insertHistory({kAddress, "JP", "Japan", "APNIC", "", "", ""});
        ASSERT_TRUE(history->commit());
    }
    static QString recordedHostname() {
        HistoryDB* history = HistoryDB::sharedInstance();
        const QStringList ids = history->selectAllHistoriesOrderBy(1);
        return history->selectHistory(ids.value(0).toInt()).value(2);
    }
    // Waits for the host-name queries and the calls they queued.
    static void settleQueries() {
        ASSERT_TRUE(ReverseDNS::waitForQueries(30000));
        testenv::flushEvents();
    }

    QByteArray savedDocuments;
    testenv::ManualTimer timer;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
};

TEST_F(LookupPopupTest, GrowsFromTheCentreShowsOnceAndClosesOnceOnQuickTaps) {
    Panel panel;
    panel.showInView(window.get());
    EXPECT_EQ(ui::frame(&panel), (ui::Rect{160, 240, 0, 0}));
    panel.showInView(window.get()); // showing already: no second growth
    timer.runFor(250);
    EXPECT_GT(ui::frame(&panel).width, 0);
    EXPECT_LT(ui::frame(&panel).width, 310);
    timer.runFor(300);
    EXPECT_EQ(ui::frame(&panel), TarnelView::kDesignedFrame);
    EXPECT_EQ(panel.appeared, 1);

    const QPoint inside(ui::Screen::px(100), ui::Screen::px(10));
    mouse(&panel, QEvent::MouseButtonPress, inside, Qt::LeftButton, 1000);
    mouse(&panel, QEvent::MouseButtonRelease, inside, Qt::LeftButton, 1050);
    EXPECT_FALSE(panel.showing());
    mouse(&panel, QEvent::MouseButtonPress, inside, Qt::LeftButton, 1150); // a double tap
    mouse(&panel, QEvent::MouseButtonRelease, inside, Qt::LeftButton, 1200);
    timer.runFor(600);
    EXPECT_EQ(ui::frame(&panel), (ui::Rect{160, 240, 0, 0}));
    EXPECT_EQ(panel.parentWidget(), nullptr);
    EXPECT_EQ(panel.dismissed, 1);
}

TEST_F(LookupPopupTest, TapsCloseOnlyWhenEnabledAndEscapeClosesLikeATap) {
    Panel panel;
    panel.setTapCloseEnabled(false);
    panel.showInView(window.get());
    timer.runFor(600);
    panel.touchesEnded({1, {20, 20}});
    EXPECT_TRUE(panel.showing());
    panel.setTapCloseEnabled(true);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&panel, &escape);
    EXPECT_FALSE(panel.showing());
}

TEST_F(LookupPopupTest, ThePanelShowsTheAddressItsRegistryRowsAndItsTableOnceGrown) {
    ReverseDNS::setBackgroundQueriesAllowed(false);
    TarnelPopupView::popUp(kAddress, window.get());
    auto* carrier = TarnelPopupView::shownIn(window.get());
    ASSERT_NE(carrier, nullptr);
    TarnelView* panel = carrier->tarnelView();
    EXPECT_EQ(carrier->geometry(), window->rect());
    EXPECT_TRUE(panel->tableView()->isHidden());
    timer.runFor(600);
    ReverseDNS::setBackgroundQueriesAllowed(true);
    EXPECT_FALSE(panel->tableView()->isHidden());

    const QStringList& labels = TarnelDB::sharedInstance()->TLDLabel();
    const QStringList registry = TarnelDB::sharedInstance()->search(kAddress);
    ASSERT_EQ(registry.size(), 6);
    EXPECT_EQ(panel->code(), "JP");
    EXPECT_EQ(panel->rowValue(0), kAddress);
    EXPECT_EQ(panel->rowValue(TarnelView::kHostnameRow), "");
    for (int row = 2; row < TarnelView::kRowCount; ++row) {
        EXPECT_EQ(panel->rowTitle(row), labels.value(row - 2));
        EXPECT_EQ(panel->rowValue(row), registry.value(row - 2));
    }
    EXPECT_TRUE(panel->tableView()->renderText().contains(kAddress));

    // Selecting a row closes the panel as a tap does; the carrier then goes too.
    const QPointer<TarnelPopupView> watched(carrier);
    panel->tableView()->tapRowAtIndexPath({0, 3});
    EXPECT_FALSE(panel->showing());
    EXPECT_TRUE(panel->tableView()->isHidden());
    timer.runFor(600);
    testenv::flushEvents();
    EXPECT_TRUE(watched.isNull());
}

TEST_F(LookupPopupTest, AnsweredNamesShowAndReachTheHistoryEvenAfterThePopupHasGone) {
    recordAddress();
    {
        DnsResponder responder([](const QByteArray& id, const QByteArray& question) {
            return build({{ptr("ns.example.ac.jp")}}, id, question);
        });
        TarnelView* panel = openPopup();
        settleQueries();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->rowValue(TarnelView::kHostnameRow), "ns.example.ac.jp");
        EXPECT_EQ(recordedHostname(), "ns.example.ac.jp");
        panel->dismiss();
        timer.runFor(600);
    }
    {
        // No name: the row stays empty and the history keeps what it had.
        DnsResponder responder([](const QByteArray& id, const QByteArray& question) {
            return build({{}, 3}, id, question);
        });
        TarnelView* panel = openPopup();
        settleQueries();
        EXPECT_EQ(panel->rowValue(TarnelView::kHostnameRow), "");
        EXPECT_EQ(recordedHostname(), "ns.example.ac.jp");
        panel->dismiss();
        timer.runFor(600);
    }
    // The popup closes and is gone before the name comes.
    DnsResponder responder(
        [](const QByteArray& id, const QByteArray& question) {
            return build({{ptr("late.example.ac.jp")}}, id, question);
        },
        /*held=*/true);
    TarnelView* panel = openPopup();
    const QPointer<TarnelView> watched(panel);
    ASSERT_TRUE(testenv::processEventsUntil([&] { return responder.queries() >= 1; }));
    panel->dismiss();
    timer.runFor(600);
    testenv::flushEvents();
    EXPECT_TRUE(watched.isNull());
    responder.release();
    settleQueries();
    EXPECT_EQ(recordedHostname(), "late.example.ac.jp");
}

TEST(TarnelPopupViewLayout, ThePanelKeepsItsDesignedPlaceOnTheScreenAndFitsOtherWindows) {
    EXPECT_EQ(TarnelPopupView::panelFrame({0, 0, 320, 480}), TarnelView::kDesignedFrame);
    // Wide: the same panel, centred across and as far down the free room.
    EXPECT_EQ(TarnelPopupView::panelFrame({0, 0, 900, 480}), (ui::Rect{295, 80, 310, 380}));
    EXPECT_EQ(TarnelPopupView::panelFrame({0, 0, 320, 680}), (ui::Rect{5, 240, 310, 380}));
    // Small: as large as the window allows.
    EXPECT_EQ(TarnelPopupView::panelFrame({0, 0, 160, 240}), (ui::Rect{5, 16, 150, 220}));
}

} // namespace

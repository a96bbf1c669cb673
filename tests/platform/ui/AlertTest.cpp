#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"

#include "support/EventLoop.h"

#include <QAbstractButton>
#include <QPointer>
#include <gtest/gtest.h>

using namespace ui;

namespace {

class AlertJournal : public AlertViewDelegate {
public:
    void alertViewClickedButtonAtIndex(AlertView*, int index) override {
        calls.append(QString("clicked %1").arg(index));
    }
    void alertViewWillDismissWithButtonIndex(AlertView*, int index) override {
        calls.append(QString("willDismiss %1").arg(index));
    }
    void alertViewDidDismissWithButtonIndex(AlertView*, int index) override {
        calls.append(QString("didDismiss %1").arg(index));
    }
    QStringList calls;
};

class SheetJournal : public ActionSheetDelegate {
public:
    void actionSheetClickedButtonAtIndex(ActionSheet* sheet, int index) override {
        calls.append("clicked " + sheet->buttonTitleAtIndex(index));
    }
    void actionSheetDidDismissWithButtonIndex(ActionSheet*, int index) override {
        calls.append(QString("didDismiss %1").arg(index));
    }
    QStringList calls;
};

} // namespace

TEST(AlertView, CancelButtonIsIndexZeroWhenThereIsOne) {
    AlertView withCancel("Title", "Message", nullptr, "Cancel", {"OK", "Retry"});
    EXPECT_EQ(withCancel.cancelButtonIndex(), 0);
    EXPECT_EQ(withCancel.numberOfButtons(), 3);
    EXPECT_EQ(withCancel.buttonTitleAtIndex(1), "OK");
    EXPECT_EQ(withCancel.firstOtherButtonIndex(), 1);
    EXPECT_EQ(withCancel.addButtonWithTitle("More"), 3);
    EXPECT_EQ(withCancel.buttonTitleAtIndex(3), "More");

    AlertView withoutCancel("Title", "Message", nullptr, QString(), {"OK"});
    EXPECT_EQ(withoutCancel.cancelButtonIndex(), -1);
    EXPECT_EQ(withoutCancel.buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(withoutCancel.addButtonWithTitle("Later"), 1);
    EXPECT_EQ(withoutCancel.buttonTitleAtIndex(5), QString());
}

TEST(AlertView, ClickingAButtonTellsTheDelegateInOrderAndGoesAway) {
    AlertJournal journal;
    auto* alert = new AlertView("Update", "Download the new registry?", &journal, "No", {"Yes"});
    alert->setTag(7);
    alert->show();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(AlertView::visibleAlerts(), QList<AlertView*>({alert}));

    // Click the "Yes" button on the panel as a user would.
    QAbstractButton* yes = nullptr;
    for (QAbstractButton* button : alert->overlay()->findChildren<QAbstractButton*>()) {
        if (button->text() == "Yes") {
            yes = button;
        }
    }
    ASSERT_NE(yes, nullptr);
    QPointer<AlertView> watched = alert;
    yes->click();
    EXPECT_EQ(journal.calls, QStringList({"clicked 1", "willDismiss 1", "didDismiss 1"}));
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    testenv::flushEvents();
    EXPECT_TRUE(watched.isNull());
}

TEST(AlertView, DismissingTwiceTellsTheDelegateOnce) {
    AlertJournal journal;
    auto* alert = new AlertView("T", "M", &journal, "OK", {});
    alert->show();
    alert->dismissWithClickedButtonIndexAnimated(0, false);
    alert->dismissWithClickedButtonIndexAnimated(0, false);
    EXPECT_EQ(journal.calls.size(), 3);
    testenv::flushEvents();
}

TEST(ActionSheet, DestructiveIsFirstAndCancelIsLast) {
    ActionSheet full("Clear history?", nullptr, "Cancel", "Delete All", {"Export", "Mail"});
    EXPECT_EQ(full.destructiveButtonIndex(), 0);
    EXPECT_EQ(full.buttonTitleAtIndex(1), "Export");
    EXPECT_EQ(full.buttonTitleAtIndex(2), "Mail");
    EXPECT_EQ(full.cancelButtonIndex(), 3);
    EXPECT_EQ(full.numberOfButtons(), 4);
    EXPECT_EQ(full.firstOtherButtonIndex(), 1);

    ActionSheet plain("", nullptr, "Cancel", QString(), {"One"});
    EXPECT_EQ(plain.destructiveButtonIndex(), -1);
    EXPECT_EQ(plain.buttonTitleAtIndex(0), "One");
    EXPECT_EQ(plain.cancelButtonIndex(), 1);

    ActionSheet none("", nullptr, QString(), QString(), {"A", "B"});
    EXPECT_EQ(none.cancelButtonIndex(), -1);
    EXPECT_EQ(none.destructiveButtonIndex(), -1);
}

TEST(ActionSheet, ShowsUntilAButtonIsChosen) {
    SheetJournal journal;
    auto* sheet = new ActionSheet("Title", &journal, "Cancel", "Delete", {"Keep"});
    sheet->setActionSheetStyle(ActionSheetStyle::BlackTranslucent);
    sheet->showInView(nullptr);
    EXPECT_EQ(ActionSheet::visibleSheets(), QList<ActionSheet*>({sheet}));
    sheet->dismissWithClickedButtonIndexAnimated(sheet->destructiveButtonIndex(), true);
    EXPECT_EQ(journal.calls, QStringList({"clicked Delete", "didDismiss 0"}));
    EXPECT_TRUE(ActionSheet::visibleSheets().isEmpty());
    testenv::flushEvents();
}

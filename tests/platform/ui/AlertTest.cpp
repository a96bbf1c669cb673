#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"

#include "support/EventLoop.h"

#include <QAbstractButton>
#include <QPointer>
#include <gtest/gtest.h>

#include <algorithm>

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
    EXPECT_EQ(withCancel.buttonTitleAtIndex(1), "OK");
    EXPECT_EQ(withCancel.firstOtherButtonIndex(), 1);
    EXPECT_EQ(withCancel.addButtonWithTitle("More"), 3);
    EXPECT_EQ(withCancel.numberOfButtons(), 4);

    AlertView withoutCancel("Title", "Message", nullptr, QString(), {"OK"});
    EXPECT_EQ(withoutCancel.cancelButtonIndex(), -1);
    EXPECT_EQ(withoutCancel.buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(withoutCancel.addButtonWithTitle("Later"), 1);
    EXPECT_EQ(withoutCancel.buttonTitleAtIndex(5), QString());
}

TEST(AlertView, ClickingAButtonTellsTheDelegateOnceInOrderAndGoesAway) {
    AlertJournal journal;
    auto* alert = new AlertView("Update", "Download the new registry?", &journal, "No", {"Yes"});
    alert->show();
    EXPECT_EQ(AlertView::visibleAlerts(), QList<AlertView*>({alert}));

    // Click the "Yes" button on the panel as a user would.
    const QList<QAbstractButton*> buttons = alert->overlay()->findChildren<QAbstractButton*>();
    const auto yes = std::find_if(buttons.begin(), buttons.end(),
                                  [](QAbstractButton* button) { return button->text() == "Yes"; });
    ASSERT_NE(yes, buttons.end());
    QPointer<AlertView> watched = alert;
    (*yes)->click();
    alert->dismissWithClickedButtonIndexAnimated(0, false); // too late: already dismissed
    EXPECT_EQ(journal.calls, QStringList({"clicked 1", "willDismiss 1", "didDismiss 1"}));
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    testenv::flushEvents();
    EXPECT_TRUE(watched.isNull());
}

TEST(ActionSheet, DestructiveIsFirstAndCancelIsLast) {
    ActionSheet full("Clear history?", nullptr, "Cancel", "Delete All", {"Export", "Mail"});
    EXPECT_EQ(full.destructiveButtonIndex(), 0);
    EXPECT_EQ(full.buttonTitleAtIndex(2), "Mail");
    EXPECT_EQ(full.cancelButtonIndex(), 3);
    EXPECT_EQ(full.firstOtherButtonIndex(), 1);

    ActionSheet plain("", nullptr, "Cancel", QString(), {"One"});
    EXPECT_EQ(plain.destructiveButtonIndex(), -1);
    EXPECT_EQ(plain.buttonTitleAtIndex(0), "One");
    EXPECT_EQ(plain.cancelButtonIndex(), 1);
    EXPECT_EQ(ActionSheet("", nullptr, QString(), QString(), {"A"}).cancelButtonIndex(), -1);
}

TEST(ActionSheet, ShowsUntilAButtonIsChosen) {
    SheetJournal journal;
    auto* sheet = new ActionSheet("Title", &journal, "Cancel", "Delete", {"Keep"});
    sheet->showInView(nullptr);
    EXPECT_EQ(ActionSheet::visibleSheets(), QList<ActionSheet*>({sheet}));
    sheet->dismissWithClickedButtonIndexAnimated(sheet->destructiveButtonIndex(), true);
    EXPECT_EQ(journal.calls, QStringList({"clicked Delete", "didDismiss 0"}));
    EXPECT_TRUE(ActionSheet::visibleSheets().isEmpty());
    testenv::flushEvents();
}

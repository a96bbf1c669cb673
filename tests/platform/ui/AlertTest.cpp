#include "Journals.h"

#include "support/EventLoop.h"

#include <QAbstractButton>
#include <QPointer>
#include <gtest/gtest.h>

using namespace ui;

TEST(AlertView, AddedButtonsFollowTheOthers) {
    AlertView alert("Title", "Message", nullptr, "Cancel", {"OK", "Retry"});
    EXPECT_EQ(alert.addButtonWithTitle("More"), 3);
    EXPECT_EQ(alert.buttonTitleAtIndex(3), "More");
}

TEST(AlertView, ClickingAButtonTellsTheDelegateOnceInOrderAndGoesAway) {
    OverlayJournal journal;
    auto* alert = new AlertView("Update", "Download the new registry?", &journal, "No", {"Yes"});
    alert->show();
    EXPECT_EQ(AlertView::visibleAlerts(), QList<AlertView*>({alert}));
    QPointer<AlertView> watched = alert;
    for (QAbstractButton* button : alert->overlay()->findChildren<QAbstractButton*>()) {
        if (button->text() == "Yes") {
            button->click();
        }
    }
    alert->dismissWithClickedButtonIndexAnimated(0, false); // too late: already dismissed
    EXPECT_EQ(journal.calls, QStringList({"alert clicked 1", "alert will 1", "alert did 1"}));
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    testenv::flushEvents();
    EXPECT_TRUE(watched.isNull());
}

TEST(ActionSheet, DestructiveIsFirstCancelLastAndAChoiceDismisses) {
    OverlayJournal journal;
    auto* sheet = new ActionSheet("Clear?", &journal, "Cancel", "Delete All", {"Export", "Mail"});
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(ActionSheet("", nullptr, "Cancel", QString(), {"One"}).cancelButtonIndex(), 1);
    EXPECT_EQ(ActionSheet("", nullptr, QString(), QString(), {"A"}).cancelButtonIndex(), -1);
    sheet->showInView(nullptr);
    EXPECT_EQ(ActionSheet::visibleSheets(), QList<ActionSheet*>({sheet}));
    sheet->dismissWithClickedButtonIndexAnimated(0, true);
    EXPECT_EQ(journal.calls, QStringList({"sheet clicked 0", "sheet will 0", "sheet did 0"}));
    EXPECT_TRUE(ActionSheet::visibleSheets().isEmpty());
    testenv::flushEvents();
}

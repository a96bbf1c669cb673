#pragma once

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TabBarController.h"

#include <QStringList>

// Notes every delegate call of alerts and action sheets, as "alert will 1".
class OverlayJournal : public ui::ActionSheetDelegate, public ui::AlertViewDelegate {
public:
    void actionSheetClickedButtonAtIndex(ui::ActionSheet*, int i) override {
        note("sheet clicked", i);
    }
    void actionSheetWillDismissWithButtonIndex(ui::ActionSheet*, int i) override {
        note("sheet will", i);
    }
    void actionSheetDidDismissWithButtonIndex(ui::ActionSheet*, int i) override {
        note("sheet did", i);
    }
    void alertViewClickedButtonAtIndex(ui::AlertView*, int i) override { note("alert clicked", i); }
    void alertViewWillDismissWithButtonIndex(ui::AlertView*, int i) override {
        note("alert will", i);
    }
    void alertViewDidDismissWithButtonIndex(ui::AlertView*, int i) override {
        note("alert did", i);
    }
    void note(const char* what, int index) { calls.append(QString("%1 %2").arg(what).arg(index)); }
    QStringList calls;
};

// The titles of the tabs a user chose.
class TabChoices : public ui::TabBarControllerDelegate {
public:
    void tabBarControllerDidSelectViewController(ui::TabBarController*,
                                                 ui::ViewController* controller) override {
        selected.append(controller->title());
    }
    QStringList selected;
};

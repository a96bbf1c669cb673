#pragma once

#include "Events.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/Window.h"

// Numbered rows in sections; like the real screens it empties its table while covered.
// A tap pushes a detail list of its own kind unless `pushes` is off.
class NumberedList : public ui::TableViewController {
public:
    explicit NumberedList(QList<int> sectionSizes = {40, 0, 60}) : sizes(std::move(sectionSizes)) {}

    QList<int> sizes;
    QList<ui::IndexPath> tapped;
    bool pushes = true;
    bool titled = true;

    void viewWillAppear(bool) override {
        filled_ = true;
        tableView()->reloadData();
    }
    void viewWillDisappear(bool) override {
        filled_ = false;
        tableView()->reloadData();
    }
    int numberOfSectionsInTableView(ui::TableView*) override {
        return static_cast<int>(sizes.size());
    }
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override {
        return filled_ ? sizes[section] : 0;
    }
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override {
        return titled ? QString("Section %1").arg(section) : QString();
    }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* table,
                                                      const ui::IndexPath& p) override {
        auto* cell = table->dequeueReusableCell<ui::TableViewCell>("Row");
        cell->textLabel()->setText(QString("%1.%2").arg(p.section).arg(p.row));
        return cell;
    }
    void tableViewDidSelectRowAtIndexPath(ui::TableView* table, const ui::IndexPath& p) override {
        table->deselectRowAtIndexPathAnimated(p, true);
        tapped.append(p);
        if (pushes && navigationController() != nullptr) {
            auto* detail = new NumberedList({3});
            detail->setTitle("Detail");
            navigationController()->pushViewControllerAnimated(detail, true);
        }
    }

private:
    bool filled_ = true;
};

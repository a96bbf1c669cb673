#pragma once

#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

// A list of numbered rows in sections, as the real screens make it: it empties its
// table when covered and fills it again when it comes back. A tap pushes a detail
// list of its own kind, unless `pushes` is off.
class NumberedList : public ui::TableViewController {
public:
    explicit NumberedList(QList<int> sectionSizes = {40, 0, 60})
        : sizes_(std::move(sectionSizes)) {}

    QList<ui::IndexPath> tapped;
    bool pushes = true;

    void viewWillAppear(bool) override {
        filled_ = true;
        tableView()->reloadData();
    }
    void viewWillDisappear(bool) override {
        filled_ = false;
        tableView()->reloadData();
    }
    int numberOfSectionsInTableView(ui::TableView*) override {
        return static_cast<int>(sizes_.size());
    }
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override {
        return filled_ ? sizes_[section] : 0;
    }
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override {
        return QString("Section %1").arg(section);
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
    QList<int> sizes_;
    bool filled_ = false;
};

// Keys and mouse buttons as a person makes them: to the widget with the window's
// focus, going on to its parents while they are left.
inline void press(ui::Window& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &up);
}

inline void clickButton(QWidget* target, Qt::MouseButton button) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QMouseEvent down(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(target, &up);
}

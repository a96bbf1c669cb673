#include "platform/ui/NavigationItem.h"

namespace ui {

NavigationItem::NavigationItem(const QString& title) : title_(title) {}

NavigationItem::~NavigationItem() {
    delete titleView_.data();
}

void NavigationItem::setTitle(const QString& title) {
    title_ = title;
    notify();
}

void NavigationItem::setLeftBarButtonItem(BarButtonItem* item) {
    if (item != left_.get()) {
        left_.reset(item);
        notify();
    }
}

void NavigationItem::setRightBarButtonItem(BarButtonItem* item) {
    if (item != right_.get()) {
        right_.reset(item);
        notify();
    }
}

void NavigationItem::setBackBarButtonTitle(const QString& title) {
    backTitle_ = title;
    notify();
}

void NavigationItem::setTitleView(QWidget* view) {
    if (view != titleView_) {
        delete titleView_.data();
        titleView_ = view;
        notify();
    }
}

void NavigationItem::setHidesBackButton(bool hides) {
    hidesBackButton_ = hides;
    notify();
}

void NavigationItem::notify() {
    if (changed_) {
        changed_();
    }
}

} // namespace ui

#pragma once

#include "platform/ui/BarButtonItem.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace ui {

// What a view controller shows in the navigation bar while it is on top: its title
// (or a title view), its left and right buttons, and the title its back button has
// on the screen pushed after it.
class NavigationItem {
public:
    explicit NavigationItem(const QString& title = {});
    ~NavigationItem();

    NavigationItem(const NavigationItem&) = delete;
    NavigationItem& operator=(const NavigationItem&) = delete;

    QString title() const { return title_; }
    void setTitle(const QString& title);
    // Takes ownership of the items (and deletes the one it replaces).
    void setLeftBarButtonItem(BarButtonItem* item);
    void setRightBarButtonItem(BarButtonItem* item);
    BarButtonItem* leftBarButtonItem() const { return left_.get(); }
    BarButtonItem* rightBarButtonItem() const { return right_.get(); }
    void setBackBarButtonTitle(const QString& title);
    QString backBarButtonTitle() const { return backTitle_; }
    // Takes ownership of the view; it replaces the title text in the bar.
    void setTitleView(QWidget* view);
    QWidget* titleView() const { return titleView_; }
    void setHidesBackButton(bool hides);
    bool hidesBackButton() const { return hidesBackButton_; }

    // The bar that shows the item is told of every change.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

private:
    void notify();

    QString title_;
    QString backTitle_;
    std::unique_ptr<BarButtonItem> left_;
    std::unique_ptr<BarButtonItem> right_;
    QPointer<QWidget> titleView_;
    bool hidesBackButton_ = false;
    std::function<void()> changed_;
};

} // namespace ui
